#pragma once
#include <string>

// The gallery's screen: builds the two dialogs and runs the frame loop (never returns).
void GalleryMain();
// The JSON the `dump` script command writes: the stack depth, the active dialog's rows and its
// widget boxes.
std::string gallery_state_json();
