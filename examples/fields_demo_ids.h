// Identifiers of the fields demo's dialog and its fields.
#pragma once

#define FD_DIALOG 600
#define FD_SAMPLES 601
#define FD_STEP 602
#define FD_SCALE 603
#define FD_OFFSET 604
#define FD_GRID 605
