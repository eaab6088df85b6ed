#pragma once

#include <string>

#include "core/failure.h"

namespace ruror {

inline constexpr const char* kFailureReportTitle = "Ha ocurrido un error";

// The text of the box that reports a failure of the database stage.
// `detail` is the file name the data-centre listing stood at.
std::string failureReportText(const Failure& failure, const std::string& detail);

}  // namespace ruror
