#include "concordance/RequestOptions.h"

#include "text/Cp1252.h"

namespace quorvex {

std::string optionValueToCp1252(const std::string& value, const char* option, std::string& into)
{
    ArgumentConversion conv = argumentToCp1252(value);
    if (!conv.missingChar.empty())
        return std::string("la valeur de ") + option + " contient le caractère « " + conv.missingChar
            + " », que le codage Windows-1252 ne peut pas représenter.";
    into = std::move(conv.bytes);
    return {};
}

namespace {

void writeFlag(bool on, const char* name, std::vector<std::string>& args)
{
    if (on)
        args.push_back(name);
}

const char* sortName(SortOrder sort)
{
    switch (sort) {
    case SortOrder::Forms: return "forms";
    case SortOrder::Left: return "left";
    case SortOrder::Right: return "right";
    case SortOrder::Text: break;
    }
    return "text";
}

} // namespace

const std::vector<RequestOption>& requestOptions()
{
    static const std::vector<RequestOption> table = {
        {"--phrase", nullptr, false,
         [](SearchRequest& r, const std::string&) { r.phrase = true; return std::string(); },
         [](const SearchRequest& r, std::vector<std::string>& a) { writeFlag(r.phrase, "--phrase", a); }},
        // A lemma's forms are always folded: its option says so.
        {"--normalize", nullptr, false,
         [](SearchRequest& r, const std::string&) { r.normalize = true; return std::string(); },
         [](const SearchRequest& r, std::vector<std::string>& a) {
             writeFlag(r.normalize && !r.lemma, "--normalize", a);
         }},
        {"--lemma", nullptr, false,
         [](SearchRequest& r, const std::string&) { r.lemma = true; return std::string(); },
         [](const SearchRequest& r, std::vector<std::string>& a) {
             writeFlag(r.lemma && !r.lemmaStrict, "--lemma", a);
         }},
        {"--lemma-strict", nullptr, false,
         [](SearchRequest& r, const std::string&) {
             r.lemma = r.lemmaStrict = true;
             return std::string();
         },
         [](const SearchRequest& r, std::vector<std::string>& a) {
             writeFlag(r.lemma && r.lemmaStrict, "--lemma-strict", a);
         }},
        {"--side", "latin|french", false,
         [](SearchRequest& r, const std::string& v) {
             if (v == "french")
                 r.frenchSide = true;
             else if (v == "latin")
                 r.frenchSide = false;
             else
                 return "--side attend latin ou french, pas « " + v + " ».";
             return std::string();
         },
         [](const SearchRequest& r, std::vector<std::string>& a) {
             if (r.frenchSide)
                 a.insert(a.end(), {"--side", "french"});
         }},
        {"--french-form", "FORME2", false,
         [](SearchRequest& r, const std::string& v) {
             std::string form;
             std::string error = optionValueToCp1252(v, "--french-form", form);
             r.frenchForm = std::move(form);
             return error;
         },
         [](const SearchRequest& r, std::vector<std::string>& a) {
             if (r.frenchForm)
                 a.insert(a.end(), {"--french-form", cp1252ToUtf8(*r.frenchForm)});
         }},
        {"--exclude-form", "FORME", true,
         [](SearchRequest& r, const std::string& v) {
             if (v.empty())
                 return std::string("--exclude-form attend une forme.");
             std::string form;
             std::string error = optionValueToCp1252(v, "--exclude-form", form);
             r.excludedForms.push_back(std::move(form));
             return error;
         },
         [](const SearchRequest& r, std::vector<std::string>& a) {
             for (const std::string& form : r.excludedForms)
                 a.insert(a.end(), {"--exclude-form", cp1252ToUtf8(form)});
         }},
        {"--french-lemma", "LEMME", false,
         [](SearchRequest& r, const std::string& v) {
             if (v.empty())
                 return std::string("--french-lemma attend un lemme.");
             r.frenchLemma = v;
             return std::string();
         },
         [](const SearchRequest& r, std::vector<std::string>& a) {
             if (r.frenchLemma)
                 a.insert(a.end(), {"--french-lemma", *r.frenchLemma});
         }},
        {"--aligned", nullptr, false,
         [](SearchRequest& r, const std::string&) { r.aligned = true; return std::string(); },
         [](const SearchRequest& r, std::vector<std::string>& a) { writeFlag(r.aligned, "--aligned", a); }},
        {"--sort", "forms|text|left|right", false,
         [](SearchRequest& r, const std::string& v) {
             if (v == "forms")
                 r.sort = SortOrder::Forms;
             else if (v == "text")
                 r.sort = SortOrder::Text;
             else if (v == "left")
                 r.sort = SortOrder::Left;
             else if (v == "right")
                 r.sort = SortOrder::Right;
             else
                 return "--sort attend forms, text, left ou right, pas « " + v + " ».";
             return std::string();
         },
         [](const SearchRequest& r, std::vector<std::string>& a) {
             if (r.sort != SortOrder::Text)
                 a.insert(a.end(), {"--sort", sortName(r.sort)});
         }},
        {"--morph", "MOTS", false,
         [](SearchRequest& r, const std::string& v) {
             if (v.find_first_not_of(" \t") == std::string::npos)
                 return std::string("--morph attend des mots d'analyse (« subjonctif »).");
             r.morph = v;
             return std::string();
         },
         [](const SearchRequest& r, std::vector<std::string>& a) {
             if (r.morph)
                 a.insert(a.end(), {"--morph", *r.morph});
         }},
        {"--analyses", nullptr, false,
         [](SearchRequest& r, const std::string&) { r.analyses = true; return std::string(); },
         [](const SearchRequest& r, std::vector<std::string>& a) { writeFlag(r.analyses, "--analyses", a); }},
    };
    return table;
}

const RequestOption* findRequestOption(std::string_view name)
{
    for (const RequestOption& option : requestOptions())
        if (name == option.name)
            return &option;
    return nullptr;
}

std::vector<std::string> requestArguments(const SearchRequest& request)
{
    std::vector<std::string> args;
    for (const RequestOption& option : requestOptions())
        option.write(request, args);
    args.insert(args.end(), {"--", request.query});
    return args;
}

RequestReading readRequestArguments(const std::vector<std::string>& args)
{
    RequestReading reading;
    for (std::size_t i = 0; i < args.size() && reading.error.empty(); ++i) {
        const RequestOption* option = findRequestOption(args[i]);
        if (!option) {
            reading.error = "option inconnue : « " + args[i] + " ».";
        } else if (option->valueName && i + 1 >= args.size()) {
            reading.error = std::string("l'option ") + option->name + " attend une valeur ("
                + option->valueName + ").";
        } else {
            const std::string value = option->valueName ? args[++i] : std::string();
            reading.error = option->read(reading.request, value);
        }
    }
    return reading;
}

} // namespace quorvex
