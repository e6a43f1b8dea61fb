#include "completion_script.h"

#include <set>

namespace vanta::cli {

namespace {

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const auto& word : words) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

struct Tree {
    // By command path ("" for the program itself).
    std::map<std::string, std::vector<std::string>> subcommands;
    std::map<std::string, std::vector<std::string>> options;
    std::set<std::string> options_with_values;
};

void walk(const CLI::App& app, const std::string& path, Tree& tree) {
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_positional()) {
            continue;
        }
        for (const auto& name : option->get_lnames()) {
            tree.options[path].push_back("--" + name);
            if (option->get_expected_min() > 0) {
                tree.options_with_values.insert("--" + name);
            }
        }
    }
    for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; })) {
        tree.subcommands[path].push_back(sub->get_name());
        walk(*sub, path.empty() ? sub->get_name() : path + " " + sub->get_name(), tree);
    }
}

// `case "$1" in 'key') echo 'words' ;; ... esac` over `table`.
std::string case_function(const std::string& name,
                          const std::map<std::string, std::vector<std::string>>& table) {
    std::string text = name + "() {\n    case \"$1\" in\n";
    for (const auto& [key, words] : table) {
        text += "        '" + key + "') echo '" + joined(words) + "' ;;\n";
    }
    return text + "    esac\n}\n";
}

// Walks the words typed so far to the deepest subcommand, counting the
// positional arguments after it, then offers what fits the word being typed.
const char* const kCompletionFunction = R"bash(_vanta_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local path='' positionals=0 word words i
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ $word == -* ]]; then
            [[ -n $(_vanta_cli_takes_value "$word") ]] && ((i++))
        elif ((positionals == 0)) && [[ " $(_vanta_cli_subcommands "$path") " == *" $word "* ]]; then
            path=${path:+$path }$word
        else
            ((positionals++))
        fi
    done
    if [[ -n $(_vanta_cli_takes_value "$prev") ]]; then
        words=$(_vanta_cli_option_words "$prev")
    elif [[ $cur == -* ]]; then
        words=$(_vanta_cli_options "$path")
        [[ -n $path ]] && words="$words $(_vanta_cli_options '')"
    elif ((positionals == 0)); then
        words="$(_vanta_cli_subcommands "$path") $(_vanta_cli_positional_words "$path")"
    fi
    COMPREPLY=($(compgen -W "$words" -- "$cur"))
}
)bash";

}  // namespace

std::string bash_completion_script(const CLI::App& app, const CompletionWords& words) {
    Tree tree;
    walk(app, "", tree);
    std::map<std::string, std::vector<std::string>> value_taking;
    for (const auto& option : tree.options_with_values) {
        value_taking[option] = {"yes"};
    }
    const std::string program = app.get_name();
    return "# bash completion for " + program + ": source <(" + program + " completion bash)\n" +
           case_function("_vanta_cli_subcommands", tree.subcommands) +
           case_function("_vanta_cli_options", tree.options) +
           case_function("_vanta_cli_takes_value", value_taking) +
           case_function("_vanta_cli_positional_words", words.positionals) +
           case_function("_vanta_cli_option_words", words.option_values) + kCompletionFunction +
           "complete -F _vanta_cli " + program + "\n";
}

}  // namespace vanta::cli
