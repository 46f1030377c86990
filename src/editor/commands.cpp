// The editor's commands on the level state: adding, deleting, choosing the start pad, flipping,
// and the start pad rule.
#include "editor/editor.h"
#include "game/state.h"

#include <utility>

EditorState Editor;

bool CurrentPadValid() {
    return Editor.current_pad >= 0 && Editor.current_pad < PadCount();
}

void AddPad() {
    const int n = PadCount();
    Pads.redim(n + 1);
    Pads.at(n) = Pad{};
    Pads.at(n).extx = 1;
    Pads.at(n).exty = 1;
    Editor.current_pad = n;
}

void DeletePad() {
    const int n = PadCount();
    // The start pad stays: a level without pads has nowhere for the worker to start.
    if (n <= 1 || !CurrentPadValid()) return;
    Pads.at(Editor.current_pad) = Pads.at(n - 1);
    Pads.redim(n - 1);
    Editor.current_pad = n - 2;
}

void MakeStartPad() {
    if (!CurrentPadValid()) return;
    std::swap(Pads.at(Editor.current_pad), Pads.at(0));
}

void FlipPad() {
    if (!CurrentPadValid()) return;
    Pad& p = Pads.at(Editor.current_pad);
    std::swap(p.minx, p.maxx);
    std::swap(p.miny, p.maxy);
}

void ApplyStartPadRule() {
    if (PadCount() < 1) return;
    Pad& p = Pads.at(0);
    p.extx = 1;
    p.exty = 1;
    p.maxx = p.minx;
    p.maxy = p.miny;
}
