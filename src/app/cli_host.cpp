#include "app/cli_host.h"
