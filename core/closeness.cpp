#include "core/closeness.h"

namespace quintor {

long double meanCloseness(long double x, long double lo, long double mid, long double hi) {
    // The upper limit first, then the lower one: with a degenerate range the lower wins.
    if (x > hi)
        x = hi;
    if (x < lo)
        x = lo;
    if (x > mid)
        return 100.0L * (1.0L - (x - mid) / (hi - mid));
    if (x < mid)
        return 100.0L * (1.0L - (mid - x) / (mid - lo));
    return 100.0L;
}

} // namespace quintor
