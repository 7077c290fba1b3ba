#pragma once

// The menu pictures are part of the tests' content writer.
#include "support/mini_pack.h"
