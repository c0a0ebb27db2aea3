// A list-view data browser over the platform's control: creation, settings, callbacks, columns and
// rows in the order a subclass defines them. The subclass supplies the columns, the rows and the
// answers to the browser's item-data requests.
#ifndef HALYX_CORE_UI_UI_DATABROWSER_H
#define HALYX_CORE_UI_UI_DATABROWSER_H

#include "HIToolbox/DataBrowser.h"

class UI_DataBrowser {
public:
    UI_DataBrowser();
    // Disposes the two callback handles and the control.
    virtual ~UI_DataBrowser();

    // Adjusts the bounds, creates the control and sets it up; `bounds` receives the control's
    // actual bounds. 0 when already initialised; the status of the first failing step otherwise.
    virtual OSStatus InitializeDataBrowser(WindowRef window, ControlRef container, Rect* bounds,
                                           bool visible, bool drawNow);
    virtual void draw() {}
    virtual OSStatus InitializeCallbacks();
    virtual void SetToDefaults() = 0;
    virtual OSStatus DefineDataBrowserCols() = 0;
    virtual OSStatus InitializedDataBrowserRows() = 0;
    virtual void InitializeOurBrowserCallbacks(DataBrowserCallbacks* callbacks) = 0;
    virtual OSStatus InitializeBrowserSettings() = 0;
    virtual bool ItemIsEditable(DataBrowserItemID item, DataBrowserPropertyID property) = 0;
    // Answers one item-data request; *handled tells whether it did.
    virtual OSStatus DataBrowserHandler(DataBrowserPropertyID property, DataBrowserItemID item,
                                        DataBrowserItemDataRef itemData, bool setValue,
                                        bool* handled) = 0;
    virtual OSStatus AdjustBounds() { return noErr; }
    virtual DataBrowserViewStyle GetDataBrowserStyle() { return kDataBrowserListView; }
    // Fills the custom callbacks; false installs none.
    virtual bool InitializeOurCustomBrowserCallbacks(DataBrowserCustomCallbacks*) { return false; }
    virtual void ItemStartEditing(DataBrowserItemID) {}
    virtual void ItemStopEditing(DataBrowserItemID) {}
    virtual void ItemIsSelected(bool) { draw(); }

    // Embeds the control in `container` when both it and a window exist; always 0.
    OSStatus EmbedDataBrowserControl(ControlRef container);

    ControlRef Browser() const { return control; }
    WindowRef Window() const { return window; }
    const Rect& Bounds() const { return bounds; }
    bool Initialized() const { return initialised; }

protected:
    Rect bounds;
    ControlRef control;
    WindowRef window;
    ControlRef container;
    bool initialised;
    DataBrowserItemDataUPP itemDataUPP;
    DataBrowserItemNotificationUPP itemNotificationUPP;

private:
    UI_DataBrowser(const UI_DataBrowser&) = delete;
    UI_DataBrowser& operator=(const UI_DataBrowser&) = delete;

    static OSStatus ItemDataDispatcher(ControlRef browser, DataBrowserItemID item,
                                       DataBrowserPropertyID property,
                                       DataBrowserItemDataRef itemData, Boolean setValue);
    static void ItemNotificationDispatcher(ControlRef browser, DataBrowserItemID item,
                                           DataBrowserItemNotification message);
};

#endif  // HALYX_CORE_UI_UI_DATABROWSER_H
