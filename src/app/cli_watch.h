#pragma once

#include "job/job_settings.h"
#include "run/publish_steps.h"

struct CliOptions;

// tuvo-cli --watch: the pictures of the input folders that are not done yet,
// then every picture that arrives, each through the same BatchRun as a normal
// run, until SIGINT or SIGTERM. Returns the exit status.
int watchFolders(const CliOptions &options, const JobSettings &job, const PublishSteps &publish);
