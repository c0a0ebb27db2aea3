// A generated PPD for benchmarks of large models: `controls` flagged blocks in roll-downs of 50,
// each kind in turn (popups of three choices, Booleans, ranges and job notes), with the
// PCFileName "HALYX01.PPD" so that the printer list accepts it. With `constraints`, each block
// after the first also constrains the one before it (one *UIConstraints line per block).
#ifndef HALYX_BENCH_SUPPORT_GENERATEDPPD_H
#define HALYX_BENCH_SUPPORT_GENERATEDPPD_H

#include <string>

namespace bench {

inline std::string GeneratedPPD(int controls, bool constraints = false) {
    std::string ppd =
        "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*LanguageVersion: English\n"
        "*LanguageEncoding: ISOLatin1\n*PCFileName: \"HALYX01.PPD\"\n"
        "*ModelName: \"Generated\"\n*%QZVersion: 5.0\n"
        "*%ORBPropPage Page/Page: True\n*%ORBGroupName Pane/Pane: True\n"
        "*%ORBParent Pane/Page: True|Scrollpane\n";
    for (int r = 0; r < (controls + 49) / 50; ++r) {
        const std::string roll = "Roll" + std::to_string(r);
        ppd += "*%ORBGroupName " + roll + "/Roll-down " + std::to_string(r) + ": True\n";
        ppd += "*%ORBParent " + roll + "/Pane: True|Rolldown\n";
    }
    for (int i = 0; i < controls; ++i) {
        const std::string k = "*QZOpt" + std::to_string(i);
        const std::string bare = k.substr(1);
        ppd += "*%ORBFlags " + k + ": Setup|Command\n";
        ppd += "*%ORBGroup " + k + ": Roll" + std::to_string(i / 50) + "\n";
        switch (i % 4) {
            case 0:
                ppd += "*OpenUI " + k + "/Option " + std::to_string(i) + ": PickOne\n";
                ppd += "*Default" + bare + ": A\n";
                for (const char* choice : {"A", "B", "C"})
                    ppd += k + " " + choice + "/Choice " + choice + ": \"<</" + bare + " (" +
                           choice + ")>>setpagedevice\"\n";
                ppd += "*CloseUI: " + k + "\n";
                break;
            case 1:
                ppd += "*OpenUI " + k + "/Switch " + std::to_string(i) + ": Boolean\n";
                ppd += "*Default" + bare + ": False\n";
                ppd += k + " True/On: \"<</Sw true>>setpagedevice\"\n";
                ppd += k + " False/Off: \"<</Sw false>>setpagedevice\"\n";
                ppd += "*CloseUI: " + k + "\n";
                break;
            case 2:
                ppd += "*%ORBRange " + k + "/Count " + std::to_string(i) +
                       ": (1;999;1;1) \"userdict /n <" + bare + "> put\"\n";
                break;
            default:
                ppd += "*%ORBJobNote " + k + "/Note " + std::to_string(i) +
                       ": 40|Alpha|Numeric|Space|MinLength2\n";
                ppd += "*%" + bare + ": \"userdict /note (<" + bare + ">) put\"\n";
                break;
        }
        if (constraints && i > 0) {
            ppd += "*UIConstraints: " + k + " A *QZOpt" + std::to_string(i - 1) + " B\n";
        }
    }
    return ppd;
}

}  // namespace bench

#endif  // HALYX_BENCH_SUPPORT_GENERATEDPPD_H
