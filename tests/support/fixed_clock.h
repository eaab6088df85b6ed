#pragma once

#include "core/clock.h"

namespace ruror::test {

// A clock stopped on one day.
class FixedClock final : public Clock {
public:
    explicit FixedClock(Date date) : date_(date) {}
    Date today() const override { return date_; }

private:
    Date date_;
};

}  // namespace ruror::test
