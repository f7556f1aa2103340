# Sourced by the scripts that run the desktop program under Wine.
#
# wine_map_dialog_font : in the Wine prefix of WINEPREFIX (else ~/.wine), points "MS Sans Serif", the font the
#                        program's dialog templates name, at Wine's own bitmap font of that name (Debian's
#                        fonts-wine). Wine names the file in the prefix's registry but does not find it there, and
#                        then draws the dialogs in a wider stand-in (DejaVu Sans, Tahoma, Liberation Sans) that
#                        clips labels such as "hands per file"; this font has the metrics the templates were laid
#                        out for. The registry's file name is kept, so a prefix of another code page gets its own
#                        variant of the font.
wine_map_dialog_font() {
    wf_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
    # Output to a file, not a pipe: a Wine process that starts the server leaves background processes holding
    # its standard output, and a command substitution would wait for them.
    wf_out=$(mktemp)
    timeout 120 wine reg query "$wf_key" /v "MS Sans Serif" >"$wf_out" 2>/dev/null || true
    wf_value=$(sed -n 's/.*REG_SZ[[:space:]]*//p' "$wf_out" | tr -d '\r')
    rm -f "$wf_out"
    wf_file=$(echo "${wf_value##*\\}" | tr 'A-Z' 'a-z')  # bare as Wine writes it, or a path set before
    [ -n "$wf_file" ] || wf_file=sserife.fon
    wf_path=/usr/share/wine/fonts/$wf_file
    if [ ! -f "$wf_path" ]; then
        echo "note: $wf_path is missing (package fonts-wine): the dialogs keep Wine's wider stand-in font" >&2
        return 0
    fi
    wf_windows_path="Z:$(echo "$wf_path" | tr '/' '\\')"
    [ "$wf_value" = "$wf_windows_path" ] && return 0
    timeout 120 wine reg add "$wf_key" /v "MS Sans Serif" /d "$wf_windows_path" /f >/dev/null 2>&1 ||
        echo "note: could not map the dialog font in the Wine prefix" >&2
}
