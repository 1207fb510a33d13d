// Module state of the fields, kept in Game beside the shared records.
#pragma once

#include <cstdint>

// The fields keep nothing of their own: the owl doctor's stage lives in the saved
// progress flags (OwlVisits, field/scenes.h).
struct FieldState {};
