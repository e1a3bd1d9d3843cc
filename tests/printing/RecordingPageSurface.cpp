// The recorders are inline in the header; targets that list this file keep
// building unchanged.
#include "printing/RecordingPageSurface.h"
