#include "design/AnalysisOptions.h"

namespace sorvanta {}  // namespace sorvanta
