// Resource identifiers of the README's plot example.
#pragma once

#define PLOT_DIALOG 310
#define PLOT_FIELD 311
