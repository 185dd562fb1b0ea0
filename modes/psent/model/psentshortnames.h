#pragma once

#include "modes/psent/model/psentlists.h"
#include "modes/psent/model/psentrules.h"
#include "modes/psent/model/psentscreenvalues.h"

// One letter a type, for the files that go through the handset settings line by line (the log
// file's reader and writer, the image codec, the report), where the full names would fill the line.
namespace tolvan::psent::shortnames {

using L = PsEntLists;
using R = PsEntRules;
using S = PsEntRules::Slider;
using V = PsEntScreenValues;

} // namespace tolvan::psent::shortnames
