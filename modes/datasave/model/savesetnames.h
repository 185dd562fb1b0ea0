#pragma once

// The names of a saved set are shared with the registration's pair and live with the other set
// parts in common/logfile; the data save mode's code keeps naming them as its own.

#include "common/logfile/savesetnames.h"

namespace tolvan::datasave {

using logfile::SaveSetNames;

} // namespace tolvan::datasave
