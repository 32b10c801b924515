# Writes the tables of the bash completion from the documents parse.awk read: the program's
# help, listing its commands, then each command's help in that order. The completion's logic
# (packaging/orvantis-completion.bash) follows them in the same file.

END {
    if (list_commands)
        exit
    commands = sectionNamed(1, "Commands")
    if (!commands || entries[1, commands] == 0) {
        print "completion.awk: the help lists no commands" > "/dev/stderr"
        exit 1
    }
    print "# bash completion for orvantis. Made when the program was built, from its own help:"
    print "# the tables from \"orvantis --help\" and each \"orvantis COMMAND --help\", the rest from"
    print "# packaging/orvantis-completion.bash."
    print ""
    print "# Sets in its caller's scope: commands; options[COMMAND], and options[-] for those every"
    print "# command takes; value[COMMAND OPTION] (value[- OPTION]), what an option's value stands"
    print "# for; operand[COMMAND], what its other arguments stand for; choices[WORD], the values"
    print "# the help lists for WORD."
    print "_orvantis_tables() {"
    list = ""
    for (e = 1; e <= entries[1, commands]; e++)
        list = list (e > 1 ? " " : "") tag[1, commands, e]
    print "    commands=" quoted(list)
    printOptions(1, "-")
    choicesOf(1)
    for (e = 1; e <= entries[1, commands]; e++) {
        command = commandOf[e + 1] = tag[1, commands, e]
        printOptions(e + 1, command)
        choicesOf(e + 1)
        word = operandOf(e + 1, command)
        if (word != "")
            print "    operand[" quoted(command) "]=" quoted(word)
    }
    for (word in choice)
        print "    choices[" quoted(word) "]=" quoted(choice[word])
    print "}"
    print ""
}

# The options of document d, as options[key] and value[key OPTION].
function printOptions(d, key,    s, e, n, i, names, word, list)
{
    s = sectionNamed(d, "Options")
    list = ""
    for (e = 1; s && e <= entries[d, s]; e++) {
        word = optionTag(tag[d, s, e], names)
        n = names[0]
        for (i = 1; i <= n; i++) {
            list = list (list == "" ? "" : " ") names[i]
            takes[key, names[i]] = word
            if (word != "")
                print "    value[" quoted(key " " names[i]) "]=" quoted(word)
        }
    }
    print "    options[" quoted(key) "]=" quoted(list)
}

# Values a usage line lists for an option ("--rate 9600|57600|115200"), as the choices of the
# word that option's value stands for in the options ("--rate RATE").
function choicesOf(d,    n, words, i, word)
{
    n = split(usage[d], words, /[] []+/)
    for (i = 1; i < n; i++) {
        if (words[i] !~ /^-/ || words[i + 1] !~ /\|/ || words[i + 1] ~ /(^|\|)[A-Z]+(\||$)/)
            continue
        word = takes[d == 1 ? "-" : commandOf[d], words[i]]
        if (word == "")
            word = takes["-", words[i]]
        if (word != "") {
            choice[word] = words[i + 1]
            gsub(/\|/, " ", choice[word])
        }
    }
}

# What the arguments of a command that are not options stand for: the first value word of its
# usage line outside brackets that no option takes ("NAME" of "get NAME... [-d DIR]").
function operandOf(d, command,    str, before, n, words, i, word)
{
    str = usage[d]
    gsub(/[()|]/, " ", str)
    do {
        before = str
        gsub(/\[[^][]*\]/, "", str)
    } while (str != before)
    n = split(str, words, " ")
    for (i = 2; i <= n; i++) {
        word = words[i]
        if (word ~ /^-/) {
            if (takes[command, word] != "" || takes["-", word] != "")
                i++
        } else if (word ~ /^[A-Z][A-Z0-9_]*(\.\.\.)?$/) {
            sub(/\.\.\.$/, "", word)
            return word
        }
    }
    return ""
}

# str in single quotes for bash.
function quoted(str)
{
    gsub(/'/, "'\\''", str)
    return "'" str "'"
}
