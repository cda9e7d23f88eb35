#include "app/cli_options.h"
