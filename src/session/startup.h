#pragma once

struct AppState;

// Builds the state as the program starts, before any window exists: settings
// with the program users, the routers (seeded from the legacy values when there
// are none), the designs, the hotspot profiles and the username list. Shows
// nothing. The sales history is loaded at login.
void startUp(AppState &state);
