// Resource identifiers of the README's plot example and the first-application walkthrough.
#pragma once

#define PLOT_DIALOG 310
#define PLOT_FIELD 311
#define ASK_DIALOG 320
#define ASK_VALUE 321
