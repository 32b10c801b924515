# Sourced by scripts/fresh-check and scripts/package, which make a Debian root with
# debootstrap from the machine's own package mirror and from no other.
#
# debian_mirror SUITE prints the first Debian archive in this machine's apt sources (one-line
# and deb822 formats) that serves SUITE, or else the first whose path ends in /debian. Without
# one it names the files it read on standard error and fails.
debian_mirror() {
    local suite=$1 list=/etc/apt/sources.list parts=/etc/apt/sources.list.d file mirror
    # Where apt itself reads its sources, when apt-config says otherwise.
    if command -v apt-config >/dev/null; then
        eval "$(apt-config shell list Dir::Etc::sourcelist/f parts Dir::Etc::sourceparts/d)"
        parts=${parts%/}
    fi
    local files=()
    for file in "$list" "$parts"/*.list "$parts"/*.sources; do
        [ -f "$file" ] && files+=("$file")
    done
    mirror=$([ ${#files[@]} -eq 0 ] || awk -v suite="$suite" '
        FNR == 1 { stanza() }
        /^[ \t]*#/ { next }
        FILENAME !~ /\.sources$/ {
            sub(/#.*/, "")
            gsub(/\[[^]]*\]/, "")
            if ($1 == "deb")
                archive($2, $3)
            next
        }
        # deb822: "Field: value" lines, continued on indented lines, in stanzas that blank
        # lines separate.
        /^[ \t]*$/ { stanza(); next }
        /^[ \t]/ { field[name] = field[name] " " $0; next }
        {
            name = tolower($0)
            sub(/:.*/, "", name)
            value = $0
            sub(/^[^:]*:/, "", value)
            field[name] = value
        }
        END { stanza(); print found != "" ? found : fallback }

        function stanza(    off, n, uris, suites, i, j) {
            off = tolower(field["enabled"]) ~ /^[ \t]*(no|false|off|without|disable)/
            if (field["types"] ~ /(^|[ \t])deb([ \t]|$)/ && !off) {
                n = split(field["uris"], uris, " ")
                split(field["suites"], suites, " ")
                for (i = 1; i <= n; i++)
                    for (j = 1; j in suites; j++)
                        archive(uris[i], suites[j])
            }
            split("", field)
        }
        function archive(uri, in_suite) {
            if (uri !~ /^(https?|file):/)
                return
            if (found == "" && in_suite == suite)
                found = uri
            if (fallback == "" && uri ~ /\/debian\/?$/)
                fallback = uri
        }' "${files[@]}")
    if [ -z "$mirror" ]; then
        {
            echo "No Debian package mirror serving $suite in this machine's apt sources."
            if [ ${#files[@]} -eq 0 ]; then
                echo "There are none: looked for $list, $parts/*.list and $parts/*.sources."
            else
                echo "Looked at: ${files[*]}"
            fi
            echo "Name one in $list, such as: deb http://deb.debian.org/debian $suite main"
        } >&2
        return 1
    fi
    echo "$mirror"
}
