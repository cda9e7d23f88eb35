#pragma once

#include "batch/publish_steps.h"

// The upload, PDF and link-page steps for BatchRun. userDir is the program's
// "user" folder, where picUpload.dat grows.
PublishSteps makePublishSteps(const QString &userDir);
