#pragma once

namespace platform {

// SDL keeps data per thread (its error text) and gives it back itself only for its own threads.
// A thread of ours that calls SDL (a helper reading bitmaps ahead, the thread that opens the sound
// device beside the first pictures) calls this first, and gives it back when it ends.
void GiveBackSdlThreadDataAtThreadEnd();

}  // namespace platform
