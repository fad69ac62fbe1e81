#pragma once

#include <mutex>

// FFTW's planner keeps process-wide state and is not reentrant: every plan made or destroyed
// holds this lock. Executing a plan needs no lock.
std::mutex& FftwPlannerLock();
