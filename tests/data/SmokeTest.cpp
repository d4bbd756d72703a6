#include <gtest/gtest.h>
#include "data/CKivDoc.h"
TEST(Smoke, NewDocumentIs29Bytes) {
    CKivDoc doc;
    EXPECT_EQ(doc.SaveToBytes().size(), 29u);
}
