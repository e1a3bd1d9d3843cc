#include "support/RecordingMainView.h"
