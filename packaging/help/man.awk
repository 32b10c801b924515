# Writes a manual page (roff, man macros) from the documents parse.awk read: the program's
# own help first, then, for a program with a "Commands" section, each command's help in the
# order of that section. Variables: name, version, section (default 1). The caller appends
# the sections written by hand (ENVIRONMENT, FILES) and SEE ALSO.

END {
    if (list_commands)
        exit
    if (section == "")
        section = 1
    metaWords(1)
    commands = sectionNamed(1, "Commands")
    options = sectionNamed(1, "Options")

    printf ".TH %s %s \"\" \"%s %s\" \"User Commands\"\n", toupper(name), section, name, version
    print ".SH NAME"
    print name " \\- " esc(summaryOf(para[1, 1]))
    print ".SH SYNOPSIS"
    print usageLine(usage[1])
    print ".SH DESCRIPTION"
    for (p = 1; p <= paras[1]; p++)
        if (para[1, p] !~ /^Exit status: /)
            printParagraph(para[1, p])

    if (commands) {
        print ".SH COMMANDS"
        printEntries(1, commands)
        printCommonParagraphs()
        for (e = 1; e <= entries[1, commands]; e++)
            printCommand(e + 1, tag[1, commands, e])
    }
    if (options) {
        print ".SH OPTIONS"
        printEntries(1, options)
    }
    for (s = 1; s <= sections[1]; s++) {
        if (s != commands && s != options) {
            print ".SH " toupper(heading[1, s])
            printEntries(1, s)
        }
    }
    for (p = 1; p <= paras[1]; p++)
        if (para[1, p] ~ /^Exit status: /)
            printExitStatus(substr(para[1, p], 14))
}

# One command's help (document d) as a subsection.
function printCommand(d, command,    s, p)
{
    metaWords(d)
    print ".SS " esc(command)
    if (!(d in usage)) {
        printf "help for command %s has no Usage line\n", command > "/dev/stderr"
        exit 1
    }
    print usageLine(usage[d])
    for (p = 1; p <= paras[d]; p++)
        if (!(para[d, p] in common))
            printParagraph(para[d, p])
    for (s = 1; s <= sections[d]; s++) {
        print ".PP"
        print esc(heading[d, s]) ":"
        printEntries(d, s)
    }
}

# A paragraph every command's help has is said once, before the commands.
function printCommonParagraphs(    d, p, count)
{
    if (docs < 3)
        return
    for (d = 2; d <= docs; d++)
        for (p = 1; p <= paras[d]; p++)
            count[para[d, p]]++
    metaWords(2)
    for (p = 1; p <= paras[2]; p++) {
        if (count[para[2, p]] == docs - 1) {
            common[para[2, p]] = 1
            printParagraph(para[2, p])
        }
    }
}

# Entries as a tagged list; entries without text (an example's command lines) as lines kept
# as they are.
function printEntries(d, s,    e, literal)
{
    literal = 1
    for (e = 1; e <= entries[d, s]; e++)
        if (text[d, s, e] != "")
            literal = 0
    if (literal) {
        print ".RS 4"
        print ".nf"
        for (e = 1; e <= entries[d, s]; e++)
            print line(esc(tag[d, s, e]))
        print ".fi"
        print ".RE"
        return
    }
    for (e = 1; e <= entries[d, s]; e++) {
        print ".TP"
        print line(markup(tag[d, s, e], 1))
        print line(markup(text[d, s, e], 0))
    }
}

# "0 done; 1 refused; ..." as a list of statuses; any other text as a paragraph.
function printExitStatus(str,    n, parts, i, item, items, count)
{
    gsub(/\n/, " ", str)
    n = split(str, parts, /; /)
    count = 0
    for (i = 1; i <= n; i++) {
        if (parts[i] ~ /^[0-9]+ / || count == 0)
            items[++count] = parts[i]
        else
            items[count] = items[count] "; " parts[i]
    }
    print ".SH \"EXIT STATUS\""
    if (items[1] !~ /^[0-9]+ /) {
        printParagraph(str)
        return
    }
    for (i = 1; i <= count; i++) {
        item = items[i]
        sub(/[.;]$/, "", item)
        match(item, /^[0-9]+ /)
        print ".TP"
        print ".B " substr(item, 1, RLENGTH - 1)
        print line(markup(substr(item, RLENGTH + 1), 0))
    }
}

# A paragraph as the help wraps it. A line that ends a sentence, followed by one that starts
# with a capital, starts a new paragraph: the help puts separate statements on lines of their
# own that way.
function printParagraph(str,    n, lines, i, out)
{
    n = split(str, lines, "\n")
    out = lines[1]
    for (i = 2; i <= n; i++) {
        if (lines[i - 1] ~ /[.:][)"]?$/ && lines[i] ~ /^[A-Z]/) {
            print ".PP"
            print line(markup(out, 0))
            out = lines[i]
        } else {
            out = out " " lines[i]
        }
    }
    print ".PP"
    print line(markup(out, 0))
}

# The NAME line's text: the first sentence, starting in lower case unless with a name.
function summaryOf(str,    first)
{
    gsub(/\n/, " ", str)
    if (match(str, /\. /))
        str = substr(str, 1, RSTART - 1)
    sub(/\.$/, "", str)
    first = str
    sub(/ .*/, "", first)
    if (first ~ /^[A-Z][a-z]+$/ && first != "Orvantis")
        str = tolower(substr(str, 1, 1)) substr(str, 2)
    return str
}

# A usage line with the program's name in place of the path it was started by.
function usageLine(str)
{
    sub(/^[^ ]+/, name, str)
    return line(markup(str, 1))
}

# The value words (FILE, N, DURATION) of document d, set in italics wherever they stand.
function metaWords(d,    s, e, names, value, words, i, w)
{
    split("", meta)
    split(usage[d], words, /[] [|.]+/)
    for (i = 1; i in words; i++)
        if (words[i] ~ /^[A-Z][A-Z0-9_:-]*$/)
            meta[words[i]] = 1
    for (s = 1; s <= sections[d]; s++)
        for (e = 1; e <= entries[d, s]; e++) {
            value = optionTag(tag[d, s, e], names)
            if (value ~ /^[A-Z]/) {
                split(value, words, /[|]/)
                for (i = 1; i in words; i++)
                    meta[words[i]] = 1
            }
        }
}

# Roff for help text: options in bold, value words in italics. In a synopsis or a tag
# (synopsis = 1) every capitalised word is a value word, other words are names (bold) and
# "options" stands for options (italics).
function markup(str, synopsis,    out, before, word)
{
    out = ""
    before = " "
    while (str != "") {
        if (before ~ /[ ([|"]/ && match(str, /^--?[A-Za-z][A-Za-z0-9-]*/)) {
            word = substr(str, 1, RLENGTH)
            out = out "\\fB" esc(word) "\\fR"
        } else if (match(str, /^[A-Za-z][A-Za-z0-9_:-]*/)) {
            while (substr(str, RLENGTH, 1) ~ /[:-]/)
                RLENGTH--
            word = substr(str, 1, RLENGTH)
            if (word ~ /^[A-Z][A-Z0-9_:-]*$/ && (synopsis || word in meta))
                out = out "\\fI" esc(word) "\\fR"
            else if (synopsis && word == "options")
                out = out "\\fI" word "\\fR"
            else if (synopsis && before ~ /[ [|]/)
                out = out "\\fB" esc(word) "\\fR"
            else
                out = out esc(word)
        } else {
            RLENGTH = 1
            word = substr(str, 1, 1)
            if (!(synopsis && (word == "<" || word == ">")))
                out = out esc(word)
        }
        before = substr(str, RLENGTH, 1)
        str = substr(str, RLENGTH + 1)
    }
    return out
}

# Text escaped for roff: backslashes, and hyphens as the minus signs options are typed with.
function esc(str)
{
    gsub(/\\/, "\\e", str)
    gsub(/-/, "\\-", str)
    return str
}

# A text line that roff does not take for a request.
function line(str)
{
    if (str ~ /^[.']/)
        str = "\\&" str
    return str
}
