// The per-block inputs a host hands the processor: its event list and parameter changes.
#pragma once

#include "tools/vst3host/host_event_list.h"
#include "tools/vst3host/host_parameter_changes.h"
