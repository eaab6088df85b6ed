#pragma once

namespace ruror {

struct Date {
    int year;
    int month;  // 1 to 12
    int day;    // 1 to 31
};

class Clock {
public:
    virtual ~Clock() = default;
    // Today's date in local time.
    virtual Date today() const = 0;
};

}  // namespace ruror
