#pragma once

// The front end's exit codes.
enum ExitCode
{
    ExitDone = 0,
    ExitFailed = 1,
    ExitUsage = 2
};
