#pragma once
// The game's sound effects, 22050 Hz mono, values -1..1.
#include <vector>

namespace audiogen {

constexpr int kSfxRate = 22050;

std::vector<float> sfx_fasten();   // a ratchet driving a bolt home, ending in a firm clunk
std::vector<float> sfx_loosen();   // a creak as the bolt breaks loose, slower ratchet clicks back
std::vector<float> sfx_elevator(); // the brake lets go and the lift's motor winds up
std::vector<float> sfx_bell();     // one bright tick of the time count
std::vector<float> sfx_dull();     // a muffled knock: the action found nothing to bolt
std::vector<float> sfx_chime();    // three rising bell tones: the level is solved
std::vector<float> sfx_tick();     // the alarm clock's tick in the last ten seconds

} // namespace audiogen
