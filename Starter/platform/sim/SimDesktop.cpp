#include "platform/sim/SimDesktop.h"

namespace sim {

void Reset() {
    ResetUser();
    ResetSystem();
}

}  // namespace sim
