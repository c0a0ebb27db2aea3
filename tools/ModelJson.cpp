#include "tools/ModelJson.h"

#include <cstdio>
#include <functional>
#include <vector>

#include "PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDObjects/Controls/PPDXSpecialOption.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroups.h"
#include "PPDObjects/PPDXProperties.h"
#include "PPDObjects/PPDXProperty.h"
#include "PPDObjects/PPDXRollDown.h"
#include "PPDObjects/PPDXScrollPane.h"
#include "PPDObjects/PPDXShortcuts.h"
#include "foundation/PPDXErrors.h"
#include "parser/CStringSoup.h"
#include "parser/ConstraintForest.h"
#include "parser/ORBPPD.h"
#include "tools/PPDText.h"

namespace halyx::tools {

namespace {

// The job-note flag words in bit order.
const char* const kFlagWords[] = {
    "Alpha",         "Numeric", "Decimal",      "Required",   "Remembered", "Password",
    "AlwaysDisplay", "Resume",  "Member",       "OnOfSwitch", "LengthReq",  "SecPrint",
    "Command",       "Space",   "Negative",     "Encrypt",    "MultiSpace", "MultiComma",
    "LCD",           "Hyphen",  "TwoCharField", "NoComma",    "MinLength",
};

Json TextOrNull(const char* text, CFStringEncoding encoding) {
    if (text == nullptr) return nullptr;
    return Utf8FromText(text, encoding);
}

Json BytesOrNull(const unsigned char* bytes, SInt32 length, CFStringEncoding encoding) {
    if (bytes == nullptr || length <= 0) return nullptr;
    return Utf8FromBytes(bytes, static_cast<size_t>(length), encoding);
}

Json NameOf(const PPDXElement& element) {
    CFStringRef name = element.CFStringUserName();
    if (name == nullptr) return nullptr;
    return Utf8FromCFString(name);
}

Json ParentOf(const PPDXElement& element, CFStringEncoding encoding) {
    const PPDXElement* parent = element.GetParent();
    if (parent != nullptr) return TextOrNull(parent->Keyword(), encoding);
    return TextOrNull(element.PendingParentKeyword(), encoding);
}

// What the control's PostScript gives now (two-call protocol).
std::string PostScriptOf(PPDXControl& control, CFStringEncoding encoding) {
    const SInt32 size = control.PostScript(nullptr);
    if (size <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(size));
    const SInt32 written = control.PostScript(buffer.data());
    if (written <= 0) return std::string();
    const size_t length = static_cast<size_t>(written < size ? written : size);
    return Utf8FromBytes(buffer.data(), length, encoding);
}

const char* KindOf(PPDXControl& control) {
    switch (control.Type()) {
        case CNTL_JOBNOTE:
            return "jobnote";
        case CNTL_RANGE:
            return dynamic_cast<PPDXFloatRangeControl*>(&control) != nullptr ? "float_range"
                                                                             : "range";
        case CNTL_BOOLEAN:
            return "boolean";
        case CNTL_POPUP:
            return "popup";
        case CNTL_SPECIAL:
            return "special";
    }
    return "unknown";
}

void AddJobNote(Json& json, PPDXJobNote& note, CFStringEncoding encoding) {
    json["max_length"] = note.MaxLength();
    json["min_length"] = note.MinLength();
    json["flags"] = note.Flags();
    json["flag_words"] = JobNoteFlagWords(note.Flags());
    json["default"] = TextOrNull(note.GetDefaultNotes(), encoding);
    json["value"] = TextOrNull(note.GetNotes(), encoding);
    json["notes_on"] = note.GetNotesOnValue();
    json["template"] = BytesOrNull(note.PSData(), note.PSLength(), encoding);
}

void AddRange(Json& json, PPDXRangeControl& range, CFStringEncoding encoding) {
    json["min"] = range.MinVal();
    json["max"] = range.MaxVal();
    json["increment"] = range.Increment();
    json["default"] = range.DefaultValue();
    json["value"] = range.GetValue();
    json["template"] = BytesOrNull(range.PSData(), range.PSLength(), encoding);
}

void AddFloatRange(Json& json, PPDXFloatRangeControl& range, CFStringEncoding encoding) {
    json["min"] = range.MinVal();
    json["max"] = range.MaxVal();
    json["increment"] = range.Increment();
    json["default"] = range.DefaultValue();
    json["value"] = range.GetValue();
    json["template"] = BytesOrNull(range.PSData(), range.PSLength(), encoding);
}

void AddBoolean(Json& json, PPDXBooleanControl& control, CFStringEncoding encoding) {
    json["value"] = control.IsTrue();
    json["default"] = control.DefaultState();
    json["true_text"] = TextOrNull(control.TrueDisplayText(), encoding);
    json["false_text"] = TextOrNull(control.FalseDisplayText(), encoding);
    json["true_code"] = BytesOrNull(control.TrueCode(), control.TrueCodeLength(), encoding);
    json["false_code"] = BytesOrNull(control.FalseCode(), control.FalseCodeLength(), encoding);
}

void AddPopup(Json& json, PPDXPopupControl& popup, CFStringEncoding encoding) {
    json["multiple"] = popup.CanSelectMultipleItems();
    json["default"] = TextOrNull(popup.GetDefaultKeyword(), encoding);
    json["value"] = popup.GetValue();
    Json items = Json::array();
    for (_PopupItem* item = popup.FirstItem(); item != nullptr; item = popup.NextItem()) {
        Json entry = Json::object();
        entry["keyword"] = item->mKeyword != nullptr
                               ? TextOrNull(static_cast<const char*>(*item->mKeyword), encoding)
                               : Json(nullptr);
        entry["name"] =
            item->mLocalName != nullptr ? Json(Utf8FromCFString(item->mLocalName)) : Json(nullptr);
        entry["code"] = BytesOrNull(item->mPSData, item->mPSLength, encoding);
        entry["selected"] = item->mSelected;
        items.push_back(std::move(entry));
    }
    json["items"] = std::move(items);
}

void AddSpecial(Json& json, PPDXSpecialOption& option, CFStringEncoding encoding) {
    json["value"] = TextOrNull(option.GetValue(), encoding);
    json["code"] = BytesOrNull(option.PSData(), option.PSLength(), encoding);
}

Json HeaderOf(ORBPPD& model, CFStringEncoding encoding) {
    Json header = Json::object();
    header["FormatVersion"] = TextOrNull(model.FormatVersion(), encoding);
    header["FileVersion"] = TextOrNull(model.FileVersion(), encoding);
    header["PCFileName"] = TextOrNull(model.PCFileName(), encoding);
    header["LanguageVersion"] = TextOrNull(model.LanguageVersion(), encoding);
    header["LanguageEncoding"] = TextOrNull(model.LanguageEncoding(), encoding);
    header["ModelName"] = TextOrNull(model.ModelName(), encoding);
    header["QZFileVersion"] = TextOrNull(model.QZFileVersion(), encoding);
    header["QZVersion"] = TextOrNull(model.QZVersion(), encoding);
    return header;
}

// Each member of a collection is handed over as soon as it is made, so that a writer can pass it
// on and let it go before the next one is made.
typedef std::function<void(Json&&)> Each;

void ErrorsOf(ORBPPD& model, CFStringEncoding encoding, const Each& errors) {
    PPDXErrors* list = model.GetErrors();
    if (list == nullptr) return;
    for (PPDXErrorObj* error = list->First(); error != nullptr; error = list->Next()) {
        Json entry = Json::object();
        entry["code"] = error->Code();
        entry["fatal"] = error->IsFatal();
        entry["keyword"] = TextOrNull(error->Keyword(), encoding);
        // Descriptions come from the bundle in the system encoding.
        entry["description"] = TextOrNull(error->Description(), kCFStringEncodingMacRoman);
        errors(std::move(entry));
    }
}

void PagesOf(ORBPPD& model, CFStringEncoding encoding, const Each& pages) {
    PPDXProperties* properties = model.GetProperties();
    if (properties == nullptr) return;
    for (PPDXProperty* page = properties->First(); page != nullptr; page = properties->Next()) {
        Json entry = Json::object();
        entry["keyword"] = TextOrNull(page->Keyword(), encoding);
        entry["name"] = NameOf(*page);
        entry["visible"] = page->IsVisible();
        entry["show_in_print_properties"] = page->ShowInPrintProp();
        entry["show_in_application"] = page->ShowInApp();
        PPDXScrollPane* pane = page->GetScrollDown();
        entry["scroll_pane"] =
            pane != nullptr ? TextOrNull(pane->Keyword(), encoding) : Json(nullptr);
        pages(std::move(entry));
    }
}

void GroupsOf(ORBPPD& model, CFStringEncoding encoding, const Each& groups) {
    PPDXGroups* collection = model.GetGroups();
    if (collection == nullptr) return;
    for (PPDXGroup* group = collection->First(); group != nullptr; group = collection->Next()) {
        Json entry = Json::object();
        entry["keyword"] = TextOrNull(group->Keyword(), encoding);
        entry["name"] = NameOf(*group);
        PPDXRollDown* rollDown = dynamic_cast<PPDXRollDown*>(group);
        const bool pane = dynamic_cast<PPDXScrollPane*>(group) != nullptr;
        entry["kind"] = rollDown != nullptr ? "rolldown" : pane ? "scrollpane" : "group";
        entry["visible"] = group->IsVisible();
        entry["parent"] = ParentOf(*group, encoding);
        if (rollDown != nullptr) {
            Json controls = Json::array();
            PPDXControls* members = rollDown->Controls();
            if (members != nullptr) {
                for (PPDXControl* c = members->First(nullptr); c != nullptr;
                     c = members->Next(nullptr)) {
                    controls.push_back(TextOrNull(c->Keyword(), encoding));
                }
            }
            entry["controls"] = std::move(controls);
        }
        groups(std::move(entry));
    }
}

void ShortcutsOf(ORBPPD& model, CFStringEncoding encoding, const Each& shortcuts) {
    PPDXShortcuts* list = model.GetShortcuts();
    if (list == nullptr) return;
    for (PPDXPopupControl* popup = list->First(); popup != nullptr; popup = list->Next())
        shortcuts(TextOrNull(popup->Keyword(), encoding));
}

// An empty choice is a constraint on the whole option: it shows as null.
Json ChoiceText(const CStringSoup& soup, long id, CFStringEncoding encoding) {
    const char* text = soup.Find(id);
    if (text == nullptr || *text == '\0') return nullptr;
    return Utf8FromText(text, encoding);
}

void ForestOf(ORBPPD& model, const ConstraintForest* forest, CFStringEncoding encoding,
              const Each& result) {
    const CStringSoup* soup = model.GetStringSoup();
    if (forest == nullptr || soup == nullptr) return;
    for (const auto& tree : forest->GetTrees()) {
        if (tree.second == nullptr) continue;
        for (const auto& list : tree.second->GetLists()) {
            if (list.second == nullptr) continue;
            for (unsigned long i = 0; i < list.second->size(); ++i) {
                const ItemConstraintList::Pair pair = (*list.second)[i];
                Json entry = Json::object();
                entry["keyword1"] = TextOrNull(soup->Find(tree.first), encoding);
                entry["choice1"] = ChoiceText(*soup, list.first, encoding);
                entry["keyword2"] = TextOrNull(soup->Find(pair.first), encoding);
                entry["choice2"] = ChoiceText(*soup, pair.second, encoding);
                result(std::move(entry));
            }
        }
    }
}

void ControlsOf(ORBPPD& model, CFStringEncoding encoding, const Each& controls) {
    if (PPDXControls* collection = model.GetControls()) {
        for (PPDXControl* c = collection->First(nullptr); c != nullptr;
             c = collection->Next(nullptr)) {
            controls(ControlToJson(*c, encoding));
        }
    }
}

// The model's members in the order of its keys: single values, and collections walked member by
// member. `value` and `array` see the keys in that order.
void VisitModel(
    ORBPPD& model, const std::string& file, const std::function<void(const char*, Json&&)>& value,
    const std::function<void(const char*, const std::function<void(const Each&)>&)>& array) {
    DisplayOptionsScope all(DISPLAY_ALL);
    const CFStringEncoding encoding = EncodingOfPPD(model.LanguageEncoding());
    value("file", Utf8FromText(file.c_str(), kCFStringEncodingUTF8));
    value("valid_ppd", model.IsValidPPD());
    value("valid_printer_name", model.IsValidPrinterName());
    value("header", HeaderOf(model, encoding));
    array("errors", [&](const Each& each) { ErrorsOf(model, encoding, each); });
    array("pages", [&](const Each& each) { PagesOf(model, encoding, each); });
    array("groups", [&](const Each& each) { GroupsOf(model, encoding, each); });
    array("controls", [&](const Each& each) { ControlsOf(model, encoding, each); });
    array("shortcuts", [&](const Each& each) { ShortcutsOf(model, encoding, each); });
    array("constraints",
          [&](const Each& each) { ForestOf(model, model.GetConstraints(), encoding, each); });
    array("requires",
          [&](const Each& each) { ForestOf(model, model.GetRequires(), encoding, each); });
}

std::string Dumped(const Json& json) {
    return json.dump(2, ' ', false, Json::error_handler_t::replace);
}

// Writes `text` with every line after the first indented by `indent` spaces, as the dump of a
// value nested that deep reads (texts hold no raw line end: the dump escapes them).
void WriteIndented(std::FILE* out, const std::string& text, size_t indent) {
    size_t at = 0;
    for (size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
        std::fwrite(text.data() + at, 1, end + 1 - at, out);
        for (size_t i = 0; i < indent; ++i) std::fputc(' ', out);
    }
    std::fwrite(text.data() + at, 1, text.size() - at, out);
}

}  // namespace

Json JobNoteFlagWords(UInt32 flags) {
    Json words = Json::array();
    for (size_t bit = 0; bit < sizeof kFlagWords / sizeof kFlagWords[0]; ++bit)
        if ((flags & (1u << bit)) != 0) words.push_back(kFlagWords[bit]);
    return words;
}

Json ControlToJson(PPDXControl& control, CFStringEncoding encoding) {
    Json json = Json::object();
    json["keyword"] = TextOrNull(control.Keyword(), encoding);
    json["name"] = NameOf(control);
    json["kind"] = KindOf(control);
    json["visible"] = control.IsVisible();
    json["parent"] = ParentOf(control, encoding);
    Json flags = Json::array();
    for (const char* flag = control.FirstControlFlag(); flag != nullptr;
         flag = control.NextControlFlag()) {
        flags.push_back(Utf8FromText(flag, encoding));
    }
    json["control_flags"] = std::move(flags);
    json["postscript"] = PostScriptOf(control, encoding);

    if (PPDXJobNote* note = dynamic_cast<PPDXJobNote*>(&control)) {
        AddJobNote(json, *note, encoding);
    } else if (PPDXRangeControl* range = dynamic_cast<PPDXRangeControl*>(&control)) {
        AddRange(json, *range, encoding);
    } else if (PPDXFloatRangeControl* floats = dynamic_cast<PPDXFloatRangeControl*>(&control)) {
        AddFloatRange(json, *floats, encoding);
    } else if (PPDXBooleanControl* boolean = dynamic_cast<PPDXBooleanControl*>(&control)) {
        AddBoolean(json, *boolean, encoding);
    } else if (PPDXPopupControl* popup = dynamic_cast<PPDXPopupControl*>(&control)) {
        AddPopup(json, *popup, encoding);
    } else if (PPDXSpecialOption* special = dynamic_cast<PPDXSpecialOption*>(&control)) {
        AddSpecial(json, *special, encoding);
    }
    return json;
}

Json ModelToJson(ORBPPD& model, const std::string& file) {
    Json json = Json::object();
    VisitModel(
        model, file, [&](const char* key, Json&& value) { json[key] = std::move(value); },
        [&](const char* key, const std::function<void(const Each&)>& walk) {
            Json members = Json::array();
            walk([&](Json&& member) { members.push_back(std::move(member)); });
            json[key] = std::move(members);
        });
    return json;
}

bool WriteModelJson(ORBPPD& model, const std::string& file, std::FILE* out) {
    bool first = true;
    auto key = [&](const char* name) {
        std::fputs(first ? "{\n  " : ",\n  ", out);
        first = false;
        WriteIndented(out, Dumped(Json(name)), 2);
        std::fputs(": ", out);
    };
    VisitModel(
        model, file,
        [&](const char* name, Json&& value) {
            key(name);
            WriteIndented(out, Dumped(value), 2);
        },
        [&](const char* name, const std::function<void(const Each&)>& walk) {
            key(name);
            bool empty = true;
            walk([&](Json&& member) {
                std::fputs(empty ? "[\n    " : ",\n    ", out);
                empty = false;
                WriteIndented(out, Dumped(member), 4);
            });
            std::fputs(empty ? "[]" : "\n  ]", out);
        });
    std::fputs("\n}\n", out);
    return std::ferror(out) == 0;
}

std::string JsonText(const Json& json) {
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace halyx::tools
