#include "Core/ui/UI_DataBrowser.h"

UI_DataBrowser::UI_DataBrowser()
    : bounds{0, 0, 0, 0},
      control(nullptr),
      window(nullptr),
      container(nullptr),
      initialised(false),
      itemDataUPP(nullptr),
      itemNotificationUPP(nullptr) {}

UI_DataBrowser::~UI_DataBrowser() {
    if (itemDataUPP != nullptr) DisposeDataBrowserItemDataUPP(itemDataUPP);
    if (itemNotificationUPP != nullptr) DisposeDataBrowserItemNotificationUPP(itemNotificationUPP);
    if (control != nullptr) DisposeControl(control);
}

OSStatus UI_DataBrowser::InitializeDataBrowser(WindowRef inWindow, ControlRef inContainer,
                                               Rect* inOutBounds, bool visible, bool drawNow) {
    if (initialised) return noErr;
    if (inOutBounds == nullptr) return paramErr;
    bounds = *inOutBounds;
    window = inWindow;
    initialised = true;
    itemDataUPP = nullptr;
    itemNotificationUPP = nullptr;
    AdjustBounds();
    OSStatus status = CreateDataBrowserControl(window, &bounds, GetDataBrowserStyle(), &control);
    if (status != noErr) return status;
    if (control == nullptr) return memFullErr;
    status = InitializeBrowserSettings();
    if (status == noErr) status = InitializeCallbacks();
    if (status == noErr) status = DefineDataBrowserCols();
    if (status != noErr) return status;
    status = InitializedDataBrowserRows();
    if (inContainer != nullptr) status = EmbedDataBrowserControl(inContainer);
    GetControlBounds(control, &bounds);
    *inOutBounds = bounds;
    SetControlVisibility(control, visible, drawNow);
    return status;
}

OSStatus UI_DataBrowser::InitializeCallbacks() {
    DataBrowserCallbacks callbacks;
    InitDataBrowserCallbacks(&callbacks);
    itemDataUPP = NewDataBrowserItemDataUPP(ItemDataDispatcher);
    itemNotificationUPP = NewDataBrowserItemNotificationUPP(ItemNotificationDispatcher);
    callbacks.u.v1.itemDataCallback = itemDataUPP;
    callbacks.u.v1.itemNotificationCallback = itemNotificationUPP;
    InitializeOurBrowserCallbacks(&callbacks);
    OSStatus status = SetDataBrowserCallbacks(control, &callbacks);
    if (status != noErr) return status;
    DataBrowserCustomCallbacks custom;
    InitDataBrowserCustomCallbacks(&custom);
    if (InitializeOurCustomBrowserCallbacks(&custom)) {
        status = SetDataBrowserCustomCallbacks(control, &custom);
    }
    return status;
}

OSStatus UI_DataBrowser::EmbedDataBrowserControl(ControlRef inContainer) {
    if (inContainer != nullptr && window != nullptr) {
        EmbedControl(control, inContainer);
        container = inContainer;
    }
    return noErr;
}

OSStatus UI_DataBrowser::ItemDataDispatcher(ControlRef browser, DataBrowserItemID item,
                                            DataBrowserPropertyID property,
                                            DataBrowserItemDataRef itemData, Boolean setValue) {
    UI_DataBrowser* self = static_cast<UI_DataBrowser*>(GetControlReference(browser));
    if (self == nullptr) return errDataBrowserPropertyNotFound;
    bool handled = false;
    const OSStatus status =
        self->DataBrowserHandler(property, item, itemData, setValue != 0, &handled);
    if (handled) return status;
    switch (property) {
        case kDataBrowserItemIsSelectableProperty:
            return SetDataBrowserItemDataBooleanValue(itemData, true);
        case kDataBrowserItemIsEditableProperty:
            return SetDataBrowserItemDataBooleanValue(itemData,
                                                      self->ItemIsEditable(item, property));
        default:
            return errDataBrowserPropertyNotFound;
    }
}

void UI_DataBrowser::ItemNotificationDispatcher(ControlRef browser, DataBrowserItemID item,
                                                DataBrowserItemNotification message) {
    UI_DataBrowser* self = static_cast<UI_DataBrowser*>(GetControlReference(browser));
    if (self == nullptr) return;
    switch (message) {
        case kDataBrowserEditStarted:
            self->ItemStartEditing(item);
            break;
        case kDataBrowserEditStopped:
            self->ItemStopEditing(item);
            break;
        case kDataBrowserItemSelected:
        case kDataBrowserSelectionSetChanged:
            self->ItemIsSelected(true);
            break;
        case kDataBrowserItemDeselected:
            self->ItemIsSelected(false);
            break;
        default:
            break;
    }
}
