#include "batch/Csv.h"

#include "model/Formato.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace termix::batch {

}  // namespace termix::batch
