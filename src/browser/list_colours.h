#pragma once

#include "options/program_options.h"

namespace vistrel::browser {

// The colour a row's text is drawn in on a background: the wanted one (the
// image-file colour, say) when it can be read there, else black or white,
// whichever reads better. "Read" is a contrast ratio of at least 4.5 between
// the two relative luminances, the measure accessibility guidelines use.
options::Colour readableTextColour(options::Colour wanted, options::Colour background);

double contrastRatio(options::Colour a, options::Colour b);

}  // namespace vistrel::browser
