#pragma once
// The job fields and their ends are the portable start module's; the progress dialog's
// code still finds them here.
#include "engine/job_fields.h"
