#pragma once

#include "core/clock.h"

namespace ruror::win32 {

// The local date of the system.
class WindowsClock final : public Clock {
public:
    Date today() const override;
};

}  // namespace ruror::win32
