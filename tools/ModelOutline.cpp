#include "tools/ModelOutline.h"

namespace halyx::tools {

namespace {

std::string Text(const Json& value) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_null()) return "-";
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// A name in quotes, or nothing when there is none.
std::string Quoted(const Json& value) {
    return value.is_string() ? " \"" + value.get<std::string>() + "\"" : std::string();
}

std::string YesNo(const Json& value) {
    return value.is_boolean() && value.get<bool>() ? "yes" : "no";
}

std::string Joined(const Json& list, const char* separator) {
    std::string out;
    if (!list.is_array()) return out;
    for (const Json& item : list) {
        if (!out.empty()) out += separator;
        out += Text(item);
    }
    return out;
}

// Text written inside one line: line ends become "\n".
std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string Control(const Json& c) {
    const std::string kind = Text(c["kind"]);
    std::string line = "  " + Text(c["keyword"]) + Quoted(c["name"]) + " " + kind;
    if (!c["visible"].get<bool>()) line += " (hidden)";
    if (!c["parent"].is_null()) line += " in " + Text(c["parent"]);
    if (!c["control_flags"].empty()) line += " [" + Joined(c["control_flags"], "|") + "]";
    if (kind == "jobnote") {
        line += ": length " + Text(c["min_length"]) + ".." + Text(c["max_length"]) + ", flags " +
                Joined(c["flag_words"], "|");
        if (!c["default"].is_null()) line += ", default \"" + Text(c["default"]) + "\"";
        if (!c["template"].is_null()) line += ", template \"" + OneLine(Text(c["template"])) + "\"";
    } else if (kind == "range" || kind == "float_range") {
        line += ": " + Text(c["min"]) + ".." + Text(c["max"]) + " step " + Text(c["increment"]) +
                ", default " + Text(c["default"]) + ", value " + Text(c["value"]);
    } else if (kind == "boolean") {
        line += ": default " + std::string(c["default"].get<bool>() ? "True" : "False") +
                ", value " + (c["value"].get<bool>() ? "True" : "False");
    } else if (kind == "popup") {
        line += std::string(c["multiple"].get<bool>() ? ": pick many" : ": pick one") +
                ", default " + Text(c["default"]) + ", choices:";
        for (const Json& item : c["items"]) {
            line += " " + Text(item["keyword"]) + Quoted(item["name"]);
            if (item["selected"].get<bool>()) line += "*";
        }
    } else if (kind == "special") {
        line += ": " + Text(c["value"]);
    }
    return line + "\n";
}

std::string Constraint(const Json& c, const char* verb) {
    std::string line = "  " + Text(c["keyword1"]);
    if (!c["choice1"].is_null()) line += " " + Text(c["choice1"]);
    line += std::string(" ") + verb + " " + Text(c["keyword2"]);
    if (!c["choice2"].is_null()) line += " " + Text(c["choice2"]);
    return line + "\n";
}

}  // namespace

std::string ModelOutline(const Json& m) {
    std::string out;
    out += "File: " + Text(m["file"]) + "\n";
    out += "Valid PPD: " + YesNo(m["valid_ppd"]) +
           "; valid printer name: " + YesNo(m["valid_printer_name"]) + "\n";
    out += "Header:\n";
    for (const auto& entry : m["header"].items())
        out += "  " + entry.key() + ": " + Text(entry.value()) + "\n";

    out += "Errors:" + std::string(m["errors"].empty() ? " none\n" : "\n");
    for (const Json& e : m["errors"]) {
        out += "  " + Text(e["code"]) + (e["fatal"].get<bool>() ? " fatal " : " ") +
               Text(e["keyword"]) + ": " + Text(e["description"]) + "\n";
    }

    out += "Pages:" + std::string(m["pages"].empty() ? " none\n" : "\n");
    for (const Json& p : m["pages"]) {
        out += "  " + Text(p["keyword"]) + Quoted(p["name"]);
        if (!p["visible"].get<bool>()) out += " (hidden)";
        out += std::string(p["show_in_print_properties"].get<bool>() ? " print-properties" : "") +
               (p["show_in_application"].get<bool>() ? " application" : "");
        if (!p["scroll_pane"].is_null()) out += " -> " + Text(p["scroll_pane"]);
        out += "\n";
    }

    out += "Groups:" + std::string(m["groups"].empty() ? " none\n" : "\n");
    for (const Json& g : m["groups"]) {
        out += "  " + Text(g["keyword"]) + Quoted(g["name"]) + " " + Text(g["kind"]);
        if (!g["visible"].get<bool>()) out += " (hidden)";
        if (!g["parent"].is_null()) out += " under " + Text(g["parent"]);
        if (g.contains("controls") && !g["controls"].empty())
            out += ": " + Joined(g["controls"], ", ");
        out += "\n";
    }

    out += "Controls:" + std::string(m["controls"].empty() ? " none\n" : "\n");
    for (const Json& c : m["controls"]) out += Control(c);

    out += "Shortcuts: " +
           (m["shortcuts"].empty() ? std::string("none") : Joined(m["shortcuts"], ", ")) + "\n";
    out += "Constraints:" + std::string(m["constraints"].empty() ? " none\n" : "\n");
    for (const Json& c : m["constraints"]) out += Constraint(c, "excludes");
    out += "Requires:" + std::string(m["requires"].empty() ? " none\n" : "\n");
    for (const Json& c : m["requires"]) out += Constraint(c, "requires");
    return out;
}

}  // namespace halyx::tools
