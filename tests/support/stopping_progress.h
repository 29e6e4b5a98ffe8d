#pragma once
// A test's Progress: it records the shares it is told and asks to stop at its n-th look.

#include <vector>

#include "progress.h"

namespace marvolt::testing {

class StoppingProgress : public Progress {
  public:
    // `stopAt`: the look (counted from 1) that asks to stop; 0 never does.
    explicit StoppingProgress(int stopAt = 0) : stopAt_(stopAt) {}
    void advance(double share) override { shares.push_back(share); }
    bool stopRequested() override { return ++looks == stopAt_; }

    std::vector<double> shares;
    int looks = 0;

  private:
    int stopAt_;
};

}  // namespace marvolt::testing
