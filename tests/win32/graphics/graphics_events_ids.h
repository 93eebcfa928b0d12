// Resource identifiers of the graphics event tests.
#pragma once

#define GE_PLOT_DIALOG 300
#define GE_PLOT 301
