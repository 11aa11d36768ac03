#pragma once

// A named moment of the journalled work where the crash tests stop the
// process dead, as a power cut or a kill -9 would. Nothing happens unless the
// environment variable WIFITICKETER_CRASH_AT names the point ("run-stored"),
// optionally with the pass at which to stop ("run-stored:3", default the
// first): then the process ends there with SIGKILL, leaving its files as they
// are at that moment.
void crashPoint(const char *name);
