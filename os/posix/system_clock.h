#pragma once

#include "core/clock.h"

namespace ruror::posix {

class SystemClock final : public Clock {
public:
    Date today() const override;
};

}  // namespace ruror::posix
