// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>

#include "platform/ITransport.h"

// A new, unopened transport of the kind the address names.
std::unique_ptr<ITransport> CreateTransport(const CTransportAddress& address);
