// halyx-jobnotes print: opens the "Halyx Job Notes" pane as the print dialog does, types the given
// values into its fields, presses Print and shows what the print server receives.
//
// The pane itself is reached only through the plug-in bundle (PrintHost). The PPD is also parsed
// here, but only to find the title of the row that shows each given keyword, as a person reads it
// off the list.
#include <getopt.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXControls.h"
#include "parser/ORBPPD.h"
#include "layout/InstallLayout.h"
#include "tools/Commands.h"
#include "tools/Messages.h"
#include "tools/PPDErrorLines.h"
#include "tools/PPDLoader.h"
#include "tools/PPDText.h"
#include "tools/PictureOption.h"
#include "panehost/PluginLoader.h"
#include "tools/PrintHost.h"
#include "tools/PrinterListNames.h"
#include "tools/QueuePrint.h"
#include "tools/ValueText.h"

namespace halyx::tools {

namespace {

using Json = nlohmann::ordered_json;

// A --set value as the pane shows it: the row's title, and what kind of field it is.
struct FieldValue {
    std::string title;
    bool jobNote = false;
    bool onOffSwitch = false;
};

const char kPrintUsage[] =
    "Usage: halyx-jobnotes print [PPD] [--set KEYWORD=VALUE]... [--orientation O]\n"
    "                            [--layout RxC] [--printer-list FILE] [--json]\n"
    "                            [--queue NAME [--document FILE] [--wait]] [--picture FILE.png]\n"
    "\n"
    "Opens the Halyx Job Notes pane as the print dialog does, on a printer that uses PPD (the\n"
    "bundled sample when omitted). For each --set it clicks the field of the job note or range\n"
    "KEYWORD, selects its text and types VALUE key by key; then it presses Print and shows the\n"
    "summary, the PostScript pieces in order (injection site and text) and the pieces file.\n"
    "\n"
    "  --set KEYWORD=VALUE   a value to type (KEYWORD with or without its '*'); repeatable\n"
    "  --orientation O       portrait (default), landscape, reverse-portrait, reverse-landscape\n"
    "  --layout RxC          pages per sheet as rows x columns (default 1x1)\n"
    "  --printer-list FILE   a printer list to use instead of the bundle's PrinterList.plist\n"
    "  --plugins PATH        the plug-in bundle, or a folder of bundles (default: "
    "$HALYX_BUNDLE_DIR,\n"
    "                        else the bundle built with this program)\n"
    "  --repeat N            open the dialog N times in one process, printing each time\n"
    "  --picture FILE.png    also write a picture of the pane as it stands once the values are\n"
    "                        typed and Print is pressed (or when the editor refused a step)\n"
    "  --json                one JSON object: summary, pieces, pieces_file, messages, beeps\n"
    "                        (and job, job_state, job_message with --queue)\n"
    "  --queue NAME          print to the CUPS queue NAME (on the server libcups chooses:\n"
    "                        CUPS_SERVER, ~/.cups/client.conf); the PPD is the queue's own\n"
    "  --document FILE       the PostScript or PDF file to send (default: a test page)\n"
    "  --wait                wait for the job's end; show its state and the server's message\n"
    "  -h, --help            show this help\n"
    "\n"
    "A value is text: one with a control character (tab, line end, backspace) is refused. The\n"
    "PPD's fatal errors and every Required field left empty are stated on stderr.\n"
    "\n"
    "Exit status: 0 printed, 1 the pane could not be set up or write the job (no pieces file),\n"
    "2 usage error, a file that check refuses, a value with a control character, a picture that\n"
    "cannot be written, or the queue, its server, its PPD or the job's submission failed, 3 the\n"
    "editor refused a key or blocked Print, or the pane did not take a value (the reason on\n"
    "stderr), 4 with --wait: the job ended stopped, canceled or aborted.\n";

int Usage(const std::string& problem) {
    return UsageProblem("print", problem, kPrintUsage);
}

bool ParseOrientation(const char* text, PMOrientation* orientation) {
    static const struct {
        const char* name;
        PMOrientation value;
    } kOrientations[] = {{"portrait", kPMPortrait},
                         {"landscape", kPMLandscape},
                         {"reverse-portrait", kPMReversePortrait},
                         {"reverse-landscape", kPMReverseLandscape}};
    for (const auto& entry : kOrientations) {
        if (std::strcmp(text, entry.name) == 0) {
            *orientation = entry.value;
            return true;
        }
    }
    return false;
}

bool ParsePositive(const std::string& text, SInt32* value) {
    if (text.empty() || text.size() > 4 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *value = static_cast<SInt32>(std::stol(text));
    return *value >= 1;
}

bool ParseLayout(const char* text, SInt32* rows, SInt32* columns) {
    std::string layout(text);
    size_t x = layout.find_first_of("xX");
    return x != std::string::npos && ParsePositive(layout.substr(0, x), rows) &&
           ParsePositive(layout.substr(x + 1), columns);
}

// The job note or range `keyword` (with or without its '*'); null when the PPD has none.
PPDXControl* FindField(ORBPPD& model, const std::string& keyword) {
    std::string wanted = keyword[0] == '*' ? keyword : "*" + keyword;
    DisplayOptionsScope all(DISPLAY_ALL);
    PPDXControls* controls = model.GetControls();
    if (controls == nullptr) return nullptr;
    for (PPDXControl* c = controls->First(nullptr); c != nullptr; c = controls->Next(nullptr)) {
        if (c->Keyword() == nullptr || wanted != c->Keyword()) continue;
        if (dynamic_cast<PPDXJobNote*>(c) != nullptr ||
            dynamic_cast<PPDXRangeControl*>(c) != nullptr)
            return c;
    }
    return nullptr;
}

// The titles of the Required job notes: the pane checks only the field the person is in, so an
// untouched one may print empty.
std::set<std::string> RequiredTitles(ORBPPD& model) {
    std::set<std::string> titles;
    DisplayOptionsScope all(DISPLAY_ALL);
    PPDXControls* controls = model.GetControls();
    if (controls == nullptr) return titles;
    for (PPDXControl* c = controls->First(nullptr); c != nullptr; c = controls->Next(nullptr)) {
        const PPDXJobNote* note = dynamic_cast<PPDXJobNote*>(c);
        if (note != nullptr && note->IsRequired())
            titles.insert(Utf8FromCFString(c->CFStringUserName()));
    }
    return titles;
}

// Reads what the person is told of the PPD before and after the pane runs: its errors (said
// here), the field behind each --set and the Required titles. The model goes before the pane
// parses the file again, so that the two are never held at once.
int ReadFields(const std::vector<std::pair<std::string, std::string>>& settings,
               PrintRequest* request, std::vector<FieldValue>* fields,
               std::set<std::string>* required) {
    PPDLoader loader;
    std::string message;
    if (!loader.Load(request->ppdPath.c_str(), &message)) {
        Say("print", message);
        return kExitUsage;
    }
    // The pane goes on with a PPD that has fatal errors, with what it could read: the person
    // learns of them here, in check's words.
    for (const std::string& line : ListPPDErrors(*loader.Model(), true).lines) Say("print", line);
    for (const auto& setting : settings) {
        PPDXControl* control = FindField(*loader.Model(), setting.first);
        FieldValue field;
        if (control != nullptr) field.title = Utf8FromCFString(control->CFStringUserName());
        if (field.title.empty()) {
            Say("print", request->ppdPath + " has no job note or range " + setting.first);
            return kExitUsage;
        }
        const PPDXJobNote* note = dynamic_cast<PPDXJobNote*>(control);
        field.jobNote = note != nullptr;
        field.onOffSwitch = note != nullptr && note->IsOnOffSwitch();
        fields->push_back(field);
        PrintValue value;
        value.title = field.title;
        value.text = setting.second;
        request->values.push_back(value);
    }
    *required = RequiredTitles(*loader.Model());
    return kExitOk;
}

// A job note the pane takes is in its summary (switched on); one that is not there reaches
// neither the summary nor the pieces, whatever was typed into it.
std::string NoteNotTaken(const PrintResult& result, const std::vector<FieldValue>& fields) {
    for (const FieldValue& field : fields) {
        if (!field.jobNote) continue;
        bool listed = false;
        for (const auto& line : result.summary) listed = listed || line.first == field.title;
        if (!listed)
            return "the pane did not take the value of \"" + field.title + "\": the note is " +
                   (field.onOffSwitch ? "an on/off switch that is off"
                                      : "not in the job's summary") +
                   ", so the value would not go out with the job";
    }
    return std::string();
}

std::string PieceText(const std::string& data) {
    return Utf8FromBytes(data.data(), data.size(), kCFStringEncodingMacRoman);
}

void PrintText(const PrintResult& result) {
    std::printf("Summary:\n");
    if (result.summary.empty()) std::printf("  (no job notes)\n");
    for (const auto& line : result.summary)
        std::printf("  %s: %s\n", line.first.c_str(), line.second.c_str());
    std::printf("Pieces:\n");
    if (result.pieces.empty()) std::printf("  (none)\n");
    for (const PrintPiece& piece : result.pieces) {
        std::printf("  site %d:\n", static_cast<int>(piece.site));
        std::string text = PieceText(piece.data);
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::printf("    %s\n", text.substr(start, end - start).c_str());
            start = end + 1;
        }
    }
    for (size_t run = 0; run < result.earlierPiecesFiles.size(); ++run)
        std::printf("Pieces file of run %zu: %s (removed: a later run replaced it)\n", run + 1,
                    result.earlierPiecesFiles[run].c_str());
    std::printf("Pieces file: %s\n",
                result.piecesFile.empty() ? "(none)" : result.piecesFile.c_str());
}

void PrintJson(const PrintResult& result, const Json& extra) {
    Json object = Json::object();
    Json summary = Json::array();
    for (const auto& line : result.summary)
        summary.push_back(Json{{"title", line.first}, {"value", line.second}});
    Json pieces = Json::array();
    for (const PrintPiece& piece : result.pieces)
        pieces.push_back(Json{{"site", piece.site}, {"data", PieceText(piece.data)}});
    object["summary"] = std::move(summary);
    object["pieces"] = std::move(pieces);
    object["pieces_file"] = result.piecesFile.empty() ? Json(nullptr) : Json(result.piecesFile);
    object["messages"] = result.messages;
    object["beeps"] = result.beeps;
    for (const auto& field : extra.items()) object[field.key()] = field.value();
    std::string text = object.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace

int RunPrint(int argc, char** argv) {
    enum {
        kSet = 1000,
        kOrientation,
        kLayout,
        kPrinterList,
        kPlugins,
        kRepeat,
        kJson,
        kQueue,
        kDocument,
        kWait,
        kPicture
    };
    static const struct option kOptions[] = {
        {"set", required_argument, nullptr, kSet},
        {"orientation", required_argument, nullptr, kOrientation},
        {"layout", required_argument, nullptr, kLayout},
        {"printer-list", required_argument, nullptr, kPrinterList},
        {"plugins", required_argument, nullptr, kPlugins},
        {"repeat", required_argument, nullptr, kRepeat},
        {"json", no_argument, nullptr, kJson},
        {"picture", required_argument, nullptr, kPicture},
        {"queue", required_argument, nullptr, kQueue},
        {"document", required_argument, nullptr, kDocument},
        {"wait", no_argument, nullptr, kWait},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    PrintRequest request;
    std::vector<std::pair<std::string, std::string>> settings;
    bool json = false;
    std::string queue, document;
    bool toQueue = false;
    bool wait = false;
    int opt;
    while ((opt = getopt_long(argc, argv, ":h", kOptions, nullptr)) != -1) {
        switch (opt) {
            case kSet: {
                const char* equals = std::strchr(optarg, '=');
                if (equals == nullptr || equals == optarg)
                    return Usage("--set takes KEYWORD=VALUE");
                settings.emplace_back(std::string(optarg, static_cast<size_t>(equals - optarg)),
                                      std::string(equals + 1));
                // Typed as keys, a tab would move on to the next field and a backspace edit.
                const std::string control = ControlCharacterIn(settings.back().second);
                if (!control.empty()) {
                    Say("print", "the value of " + settings.back().first +
                                     " holds the control character " + control +
                                     ": a value is text, not keys");
                    return kExitUsage;
                }
                break;
            }
            case kOrientation:
                if (!ParseOrientation(optarg, &request.orientation))
                    return Usage("unknown orientation");
                break;
            case kLayout:
                if (!ParseLayout(optarg, &request.layoutRows, &request.layoutColumns))
                    return Usage("--layout takes ROWSxCOLUMNS, both at least 1");
                break;
            case kPrinterList:
                request.printerListPath = optarg;
                break;
            case kPlugins:
                request.bundlePath = optarg;
                break;
            case kRepeat: {
                SInt32 runs = 0;
                if (!ParsePositive(optarg, &runs)) return Usage("--repeat takes a count from 1");
                request.runs = runs;
                break;
            }
            case kJson:
                json = true;
                break;
            case kQueue:
                queue = optarg;
                toQueue = true;
                break;
            case kDocument:
                document = optarg;
                break;
            case kWait:
                wait = true;
                break;
            case kPicture:
                request.picturePath = optarg;
                break;
            case 'h':
                std::fputs(kPrintUsage, stdout);
                return kExitOk;
            default:
                return Usage(OptionProblem(opt, argv));
        }
    }
    if (argc - optind > 1) return Usage("expected at most one PPD file");
    if (toQueue && argc - optind == 1)
        return Usage("a PPD cannot be given with --queue: the queue's own PPD is used");
    if (!toQueue && (!document.empty() || wait))
        return Usage("--document and --wait go with --queue");
    request.ppdPath = argc - optind == 1 ? argv[optind] : layout::SamplePPDPath();
    QueuePrint queuePrint(queue, document, wait);
    if (toQueue) {
        int prepared = queuePrint.Prepare(&request.ppdPath);
        if (prepared != kExitOk) return prepared;
    }
    if (request.bundlePath.empty()) request.bundlePath = layout::DefaultBundlePath();
    if (!request.printerListPath.empty() && !PrinterListReadable(request.printerListPath)) {
        Say("print", "cannot read the printer list " + request.printerListPath);
        return kExitUsage;
    }
    if (!request.picturePath.empty() && !PicturePathUsable("print", request.picturePath))
        return kExitUsage;

    // The file is refused as `check` and `show` refuse it, before the pane is started: the pane
    // would read a pipe or a device for ever.
    std::vector<FieldValue> fields;
    std::set<std::string> required;
    const int read = ReadFields(settings, &request, &fields, &required);
    if (read != kExitOk) return read;

    PrintResult result = PrintHost::Run(request);
    if (result.outcome == PrintOutcome::kPrinted) {
        const std::string notTaken = NoteNotTaken(result, fields);
        if (!notTaken.empty()) {
            // Refused: no job is to read this file.
            if (!result.piecesFile.empty()) unlink(result.piecesFile.c_str());
            result.piecesFile.clear();
            result.pieces.clear();
            result.outcome = PrintOutcome::kRefused;
            result.error = notTaken;
        }
    }
    int sent = kExitOk;
    if (toQueue && result.outcome == PrintOutcome::kPrinted) {
        sent = queuePrint.Send(result);
        if (sent == kExitUsage) return sent;
    }
    // The job goes out: an empty Required field is worth a word, though it does not stop it.
    if (result.outcome == PrintOutcome::kPrinted) {
        // One word per field, in the summary's order, however often a large PPD repeats it.
        for (const auto& line : result.summary)
            if (line.second.empty() && required.erase(line.first) > 0)
                Say("print", "warning: the required field \"" + line.first + "\" is empty");
    }
    bool ran = result.outcome == PrintOutcome::kPrinted || result.outcome == PrintOutcome::kRefused;
    if (ran) {
        if (json) {
            PrintJson(result, !toQueue || result.outcome != PrintOutcome::kPrinted
                                  ? Json::object()
                                  : queuePrint.JsonFields());
        } else if (result.outcome == PrintOutcome::kPrinted) {
            PrintText(result);
            if (toQueue) queuePrint.PrintText();
        }
    }
    if (PictureFailed("print", request.picturePath, result.pictureStatus)) return kExitUsage;
    switch (result.outcome) {
        case PrintOutcome::kPrinted:
            return sent;
        case PrintOutcome::kRefused:
            Say("print", result.error);
            return kExitRefused;
        case PrintOutcome::kBadInput:
            Say("print", result.error);
            return kExitUsage;
        case PrintOutcome::kFailed:
            break;
    }
    Say("print", result.error);
    return kExitProblem;
}

}  // namespace halyx::tools
