#include "net_harness.h"
