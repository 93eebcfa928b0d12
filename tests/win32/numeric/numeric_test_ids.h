// Identifiers of the numeric field test resources.
#pragma once

#define ND_KEYPAD 500        /* child dialog combined with the root window */
#define ND_FIELDS 300        /* one field of each numeric class, ranges, OK and Cancel */
#define ND_INT_RANGED 301    /* INTEGEREDIT, range 1..10 */
#define ND_INT_SPIN 302      /* INTEGERSPIN, base 0, step 2 */
#define ND_INT_SPIN_TOP 303  /* INTEGERSPIN, range 0..10, step 2 */
#define ND_REAL 304          /* REALEDIT, no range */
#define ND_REAL_SPIN 305     /* REALSPIN, display format (F8.2) */
#define ND_DOUBLE 306        /* DOUBLEEDIT, no range */
#define ND_DOUBLE_SPIN 307   /* DOUBLESPIN, range -1..1 */
#define ND_INT_OPTION 308    /* INTEGEREDIT, range 1..10, numeric option 4 */
#define ND_INT_FREE 309      /* INTEGEREDIT, no range */
#define ND_PLAIN 310         /* plain EDIT */
#define ND_INT_SPIN_FAST 311 /* INTEGERSPIN, small step 1, large step 100 */
#define ND_READONLY_SPIN 312 /* read-only REALSPIN */
#define ND_READONLY_INT_SPIN 313 /* read-only INTEGERSPIN holding 42 */
#define ND_CLOSE 399         /* ends the demo */
