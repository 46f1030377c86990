#pragma once

#include <string>

// The level editor: a top-down plan of the level's pads on a dot grid under a movable,
// resizable dialog of editing commands. It edits the game's level state (Pads, ForceMap) in
// place, test-plays the level and saves it.

// The editor's screen, entered from the main menu's F5 line. It never returns: the program ends
// from it (after asking about unsaved changes).
void EditorMain();

// The editor's state as the dump shows it.
struct EditorState {
    double edit_level = 1;  // the level being edited, 1 .. 99
    double current_pad = 2; // the selected pad (commands act only on a valid index)
};
extern EditorState Editor;

// --- The commands on the level state (Pads), each as one dialog button does it ---

// A fixed 1 x 1 pad at cell (0, 0) at the end of Pads; it becomes the selected pad.
void AddPad();
// Deletes the selected pad: the last pad takes its place and the pad before the old last one is
// selected. The level keeps at least one pad (its start pad): with one pad left, nothing.
void DeletePad();
// The selected pad and pad 0 exchange places: the selected pad becomes the start pad.
void MakeStartPad();
// The selected pad starts at the other end of its travel.
void FlipPad();
// Pad 0 is always a fixed 1 x 1 pad.
void ApplyStartPadRule();
// Whether Editor.current_pad names a pad.
bool CurrentPadValid();

// --- Drawing ---

// Size of one plan cell in pixels on the current screen.
double PlanCell();
// The plan: grid dots, pads with the selection (a left-button press at (mx, my) outside the
// dialog selects the pad under it), moving pads' ends and paths, the marker dots.
void DrawPlan(double mx, double my, double left, bool over_dialog);

// --- The dialog ---

// Opens the editor's dialog (replacing the previous one) with its 46 widgets.
void BuildEditorDialog();

// --- The dump ---

// The editor's members of the state dump (",\"Editor\":{...},\"Gui\":{...},\"Widgets\":{...}").
std::string EditorDump();
