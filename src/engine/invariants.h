// Consistency checks over the state of a park, for tests and for the runner's --check: stored
// references point at live entities of the right kind, seat and queue bookkeeping agrees with
// who sits, rides and queues, cells marked as part of a lift, slope or building belong to a
// live one, and the figures the park record derives from others agree with them.
#pragma once

#include <string>
#include <vector>

namespace vallorn {

class TSKIEngine;

// One line per problem, naming the entity ("skier 12: ...", "lift 3: ...", "cell (40, 61):
// ..."); empty when the park is consistent. Cell problems stop being listed after a few
// dozen, with a line telling how many more there were.
std::vector<std::string> CheckInvariants(const TSKIEngine& engine);

}  // namespace vallorn
