#pragma once
// Every message class of the protocol.

#include "billiards/protocol/BilliardsMessages.h"
#include "billiards/protocol/ChatLine.h"
#include "billiards/protocol/PersonMessages.h"
#include "billiards/protocol/TableMessages.h"
