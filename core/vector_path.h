#pragma once

namespace quintor {

// The instruction sets the engines' inner loops can use, narrowest first.
enum class VectorPath { scalar, sse2, avx2 };

// The widest path both this build and this processor run, within the limit below. Every
// engine asks here, once a run, so the choice is made in one place.
VectorPath vectorPath();

// Narrows the paths the engines may use (tests run the plain loops this way); the default
// limit is the widest.
void limitVectorPath(VectorPath widest);

const char* vectorPathName(VectorPath path);

} // namespace quintor
