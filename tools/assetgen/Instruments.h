#pragma once
// One note of an instrument, rendered on its own (mono, 44.1 kHz): the note
// held for `seconds`, plus its natural decay or release. Noisy instruments
// take their noise from `seed`.
#include <cstdint>
#include <vector>

#include "tools/assetgen/Sequencer.h"

namespace Lumo::AssetGen {

std::vector<double> RenderNote(const NoteEvent& note, double seconds, uint32_t seed);

} // namespace Lumo::AssetGen
