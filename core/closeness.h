#pragma once

namespace quintor {

// Mean-closeness rating T(x; lo, mid, hi): 100 at mid, falling linearly to 0 at lo and at hi,
// 0 beyond them. lo, mid and hi are a minimum, a mean and a maximum of the same values, so
// lo <= mid <= hi; after x is limited to lo..hi no division by zero can happen. The column
// scoring and the number statistics both rate with it, in extended precision.
long double meanCloseness(long double x, long double lo, long double mid, long double hi);

} // namespace quintor
