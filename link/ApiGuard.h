// Keeps exceptions from crossing the C boundary of the exported functions.
#pragma once

namespace orlink {

// Returns body(), or failure when body throws (for example when memory runs
// out while a request is built).
template <typename Result, typename Body>
Result Guarded(Result failure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

template <typename Body>
void GuardedVoid(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
    // A void export has no way to report failure; the state stays as it was.
  }
}

}  // namespace orlink
