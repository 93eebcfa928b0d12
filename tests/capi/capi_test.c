/* The C interface from a C99 program: texts as pointer and length, blank-padded results,
   NULL for absent optional arguments, arrays of fixed-length texts, the event record's
   layout, and a PostScript file written through the graphics routines. Exit status 1
   when a check fails, with one line per failed check. */
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include "quill.h"

static int failures = 0;

#define CHECK(condition)                                        \
  do {                                                          \
    if (!(condition)) {                                         \
      printf("%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                               \
    }                                                           \
  } while (0)

#define TEXT(literal) literal, (int)(sizeof(literal) - 1)

static void numbers_and_texts(void) {
  char text[12];
  double value = 0.0;
  int code = 0;
  memset(text, '#', sizeof text);
  quill_IntegerToString(-42, text, (int)sizeof text, TEXT("(I5)"));
  CHECK(memcmp(text, "  -42       ", sizeof text) == 0);
  quill_IStringToReal8(TEXT("2.5e3"), &value);
  CHECK(value == 2500.0);
  quill_IErrorReset();
  quill_IStringToInteger(TEXT("12x"), &code);
  CHECK(quill_IErrorCode() != 0);
  quill_IErrorReset();
  CHECK(quill_IFirstNonBlank(TEXT("   x")) == 4);
}

static void grid_in_memory(void) {
  const int types[2] = {4, 11}; /* a text column and an option menu column */
  const char options[] = "red    green  blue   "; /* three elements of 7 bytes */
  const int low = 1;
  char cell[8];
  int option = 0, rows = 0;
  quill_WGridMemory(1);
  quill_WGridColumns(0, 2, types, 2, NULL, 0);
  quill_WGridRows(0, 2);
  quill_WGridPutOptions(0, 2, options, 7, 3, 3);
  quill_WGridPutCellOption(0, 2, 1, 2);
  quill_WGridGetCellString(0, 2, 1, cell, (int)sizeof cell);
  CHECK(memcmp(cell, "green   ", sizeof cell) == 0);
  quill_WGridGetCellOption(0, 2, 1, &option);
  CHECK(option == 2);
  quill_WGridRangeInteger(0, 1, &low, NULL); /* a text column: refused */
  CHECK(quill_IErrorCode() != 0);
  quill_IErrorReset();
  quill_WGridGetRows(0, &rows);
  CHECK(rows == 2 && quill_IErrorCode() == 0);
  quill_WGridMemory(0);
  quill_WGridGetRows(0, &rows);
  CHECK(quill_IErrorCode() == 1006);
  quill_IErrorReset();
}

static void event_record_layout(void) {
  CHECK(sizeof(quill_EventRecord) == 64);
  CHECK(offsetof(quill_EventRecord, graph_w) == 28);
  CHECK(offsetof(quill_EventRecord, pixel_h) == 60);
}

static void postscript_file(void) {
  char head[4] = {0};
  FILE* file;
  quill_IGrHardCopySelect(2);
  quill_IGrHardCopy(TEXT("S"), TEXT("capi_test.ps"), TEXT("C"));
  quill_IGrUnits(0, 0, 100, 100);
  quill_IGrColour(TEXT("blue"));
  quill_IGrCircle(50, 50, 20);
  quill_IGrCharOut(10, 10, TEXT("from C"));
  quill_IGrHardCopy(TEXT("E"), NULL, 0, NULL, 0);
  CHECK(quill_IErrorCode() == 0);
  file = fopen("capi_test.ps", "rb");
  CHECK(file != NULL && fread(head, 1, 3, file) == 3 && strcmp(head, "%!P") == 0);
  if (file != NULL) fclose(file);
}

int main(void) {
  quill_WStartup(NULL, 0, NULL, NULL);
  quill_IErrorMode(0);
  numbers_and_texts();
  grid_in_memory();
  event_record_layout();
  postscript_file();
  printf("%d failed checks\n", failures);
  return failures == 0 ? 0 : 1;
}
