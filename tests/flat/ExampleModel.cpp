// The C++ side of the C walk: the model is built here because constructing it is C++ only.
#include "ExampleModel.h"

#include <new>

#include "Files/FileRecords.h"
#include "PPDObjects/ModelOptions.h"
#include "parser/ORBPPD.h"

struct ExampleModel {
    ORBPPD* model;
};

extern "C" {

ExampleModel* OpenExampleModel(const char* path) {
    FSSpec spec;
    if (path == nullptr || HalyxFSSpecFromPath(path, &spec) != noErr) return nullptr;
    ExampleModel* example = new (std::nothrow) ExampleModel;
    if (example == nullptr) return nullptr;
    example->model =
        new (std::nothrow) ORBPPD(spec, ORBPPD::kParseOrphans | ORBPPD::kParseHidden, nullptr);
    if (example->model == nullptr) {
        delete example;
        return nullptr;
    }
    example->model->Retain();
    return example;
}

void CloseExampleModel(ExampleModel* example) {
    if (example == nullptr) return;
    example->model->Release();
    delete example;
}

bool ExampleModelIsValid(ExampleModel* example) {
    return example->model->IsValidPPD();
}

PPDXErrors* ExampleErrors(ExampleModel* example) {
    return example->model->GetErrors();
}

PPDXControls* ExampleControls(ExampleModel* example) {
    return example->model->GetControls();
}

PPDXGroups* ExampleGroups(ExampleModel* example) {
    return example->model->GetGroups();
}

PPDXProperties* ExamplePages(ExampleModel* example) {
    return example->model->GetProperties();
}

PPDXShortcuts* ExampleShortcuts(ExampleModel* example) {
    return example->model->GetShortcuts();
}

void ShowEverything(void) {
    ModelOptions::SetDisplay(DISPLAY_ALL);
}
}
