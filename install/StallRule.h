// Stall rule of the download attempts: after six failed attempts in a row that brought no new
// bytes, the received count is cleared so the shown speed falls to 0.
#pragma once

#include <cstdint>

class StallRule {
 public:
  static constexpr int32_t Limit = 5;  // the sixth empty attempt goes past it

  // After a failed attempt, with the received count noted before it and read after it.
  // Returns true when the caller must clear the received count. The full 64-bit counts are
  // compared, so the rule keeps working past 4 GiB received.
  bool AfterFailedAttempt(uint64_t receivedBefore, uint64_t receivedAfter) {
    if (receivedAfter != receivedBefore) {
      stallCount = 0;
      return false;
    }
    if (++stallCount > Limit) {
      stallCount = 0;
      return true;
    }
    return false;
  }
  int32_t StallCount() const { return stallCount; }

 private:
  int32_t stallCount = 0;
};
