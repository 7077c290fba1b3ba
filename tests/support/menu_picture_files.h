#pragma once

// The menu pictures are part of the tests' content writer; their tests also record the decoder.
#include "support/mini_pack.h"
#include "support/recording_decoder.h"
