#pragma once

#include <QImage>

#include "tests/support/sort_arrow_rows.h"

class QPalette;

namespace kestrelink::testing {

// rows drawn in palette's colours: the button face, Dark for the shadow, and white.
QImage ExpectedArrowImage(const ArrowRows& rows, const QPalette& palette);

}  // namespace kestrelink::testing
