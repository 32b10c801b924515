# Reads help texts as the programs print them, one document per input file, for man.awk and
# completion.awk. A help text is a "Usage:" line, paragraphs, and sections: a heading line
# ending in ":" (such as "Options:"), then entries indented by two blanks, each a tag and,
# after two or more blanks, its text; lines indented deeper carry the text on. A blank line
# ends a paragraph or a section.
#
# For each document d (1, 2, ... in the order of the files):
#   usage[d]                     the "Usage:" line without "Usage: "
#   paras[d]; para[d, p]         its paragraphs, lines joined by "\n"
#   sections[d]; heading[d, s]   its sections, by heading without the colon
#   entries[d, s]; tag[d, s, e]; text[d, s, e]
# With -v list_commands=1 it prints the tags of the first document's "Commands" section.

FNR == 1 {
    docs++
    inSection = 0
    inPara = 0
}

/^[ \t]*$/ {
    inSection = 0
    inPara = 0
    next
}

/^Usage: / {
    usage[docs] = trim(substr($0, 8))
    next
}

!inSection && !inPara && /^[A-Z][A-Za-z ]*:[ \t]*$/ {
    s = ++sections[docs]
    heading[docs, s] = trim($0)
    sub(/:$/, "", heading[docs, s])
    inSection = 1
    next
}

inSection && /^  [^ ]/ {
    s = sections[docs]
    e = ++entries[docs, s]
    rest = substr($0, 3)
    if (match(rest, /  +/)) {
        tag[docs, s, e] = substr(rest, 1, RSTART - 1)
        text[docs, s, e] = trim(substr(rest, RSTART + RLENGTH))
    } else {
        tag[docs, s, e] = trim(rest)
        text[docs, s, e] = ""
    }
    next
}

inSection && /^   / {
    s = sections[docs]
    e = entries[docs, s]
    text[docs, s, e] = trim(text[docs, s, e] " " trim($0))
    next
}

{
    inSection = 0
    if (inPara) {
        para[docs, paras[docs]] = para[docs, paras[docs]] "\n" trim($0)
    } else {
        para[docs, ++paras[docs]] = trim($0)
        inPara = 1
    }
}

END {
    if (list_commands) {
        s = sectionNamed(1, "Commands")
        for (e = 1; s && e <= entries[1, s]; e++)
            print tag[1, s, e]
    }
}

function trim(str)
{
    sub(/^[ \t]+/, "", str)
    sub(/[ \t]+$/, "", str)
    return str
}

# The number of document d's section with that heading, or 0.
function sectionNamed(d, name,    s)
{
    for (s = 1; s <= sections[d]; s++)
        if (heading[d, s] == name)
            return s
    return 0
}

# Splits an option entry's tag ("-o, --output FILE", "--baud <N>") into names[1..n], the
# dashed names, and returns its value word ("FILE", "N"), or "" for a switch.
function optionTag(str, names,    n, words, i, w, value)
{
    n = 0
    value = ""
    split(str, words, /[ ,]+/)
    for (i = 1; i in words; i++) {
        w = words[i]
        if (w ~ /^-/)
            names[++n] = w
        else if (w != "") {
            gsub(/[<>]/, "", w)
            value = w
        }
    }
    names[0] = n
    return value
}
