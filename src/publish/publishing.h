#pragma once

#include "run/publish_steps.h"

#include <atomic>

// The upload, PDF and link-page steps for BatchRun. userDir is the program's
// "user" folder, where picUpload.dat grows. An upload in progress gives up once
// *stop is set.
PublishSteps makePublishSteps(const QString &userDir, const std::atomic<bool> *stop = nullptr);
