/* Opens a PPD file as the pane does and hands its collections to a C program. The model is made
 * by the C++ parser; everything else the C program does goes through the plain functions. */
#ifndef HALYX_TESTS_FLAT_EXAMPLEMODEL_H
#define HALYX_TESTS_FLAT_EXAMPLEMODEL_H

#include "PPDObjects/HalyxPPDModel.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ExampleModel ExampleModel;

/* The parsed model of the file at `path` (orphans and hidden items parsed, no names check), with
 * one reference held; null when the file cannot be named or memory runs out. */
ExampleModel* OpenExampleModel(const char* path);
/* Drops the reference; the model is destroyed. A null model is ignored. */
void CloseExampleModel(ExampleModel* model);

bool ExampleModelIsValid(ExampleModel* model);
PPDXErrors* ExampleErrors(ExampleModel* model);
PPDXControls* ExampleControls(ExampleModel* model);
PPDXGroups* ExampleGroups(ExampleModel* model);
PPDXProperties* ExamplePages(ExampleModel* model);
PPDXShortcuts* ExampleShortcuts(ExampleModel* model);
/* Makes every control, group and page count, hidden and orphan ones included. */
void ShowEverything(void);

#ifdef __cplusplus
}
#endif

#endif /* HALYX_TESTS_FLAT_EXAMPLEMODEL_H */
