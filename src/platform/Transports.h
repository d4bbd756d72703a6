#pragma once
#include <memory>

#include "platform/ITransport.h"

// A new, unopened transport of the kind the address names.
std::unique_ptr<ITransport> CreateTransport(const CTransportAddress& address);
