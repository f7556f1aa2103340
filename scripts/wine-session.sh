# Sourced by the scripts: a private, headless Wine session for running the Windows programs.
#
# wine_session_start DIR : a fresh Wine prefix and home under DIR, a private X display (Xvfb) and a running
#                          Wine server, exported to the caller's environment. Wine's background processes
#                          write to DIR/wine.log, never to the caller's output (ctest would wait for them).
# wine_session_stop      : ends the Wine server of this prefix and the X server started here.

. scripts/wine-fonts.sh

wine_session_start() {
    ws_dir=$(cd "$1" && pwd)
    rm -rf "$ws_dir/prefix" "$ws_dir/home"
    mkdir -p "$ws_dir/home"
    export HOME="$ws_dir/home" WINEPREFIX="$ws_dir/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    # The Windows C runtime reads TZ in its own form only ("EST5EDT"); without it the zone is Windows' own.
    unset TZ
    ws_log="$ws_dir/wine.log"
    : >"$ws_log"

    # Xvfb picks a free display and writes its number to descriptor 3 once it accepts connections.
    rm -f "$ws_dir/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$ws_dir/display" >"$ws_dir/xvfb.log" 2>&1 &
    ws_xvfb_pid=$!
    ws_waited=0
    while [ ! -s "$ws_dir/display" ]; do
        if [ "$ws_waited" -ge 100 ] || ! kill -0 "$ws_xvfb_pid" 2>/dev/null; then
            cat "$ws_dir/xvfb.log"; echo "Xvfb did not start"; return 1
        fi
        sleep 0.1
        ws_waited=$((ws_waited + 1))
    done
    export DISPLAY=":$(head -n 1 "$ws_dir/display")"

    timeout 120 wineboot -i >>"$ws_log" 2>&1 || { cat "$ws_log"; echo "wineboot failed"; return 1; }
    # No window manager: unmanaged windows close at once and draw their own captions; a crash must end the
    # program instead of opening the debugger's dialog.
    cat >"$ws_dir/session.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
EOF
    timeout 60 wine regedit /S "$ws_dir/session.reg" >>"$ws_log" 2>&1 || { cat "$ws_log"; return 1; }
    # The dialogs in the font their templates were laid out for, so the screenshots show what Windows shows.
    wine_map_dialog_font
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Restart the server so the settings hold, then keep it running between the test programs.
    timeout 60 wineserver -k >>"$ws_log" 2>&1 || true
    timeout 60 wineserver -w >>"$ws_log" 2>&1 || true
    timeout 60 wineserver -p >>"$ws_log" 2>&1
    timeout 120 wine cmd /c exit >>"$ws_log" 2>&1 || { cat "$ws_log"; echo "wine does not run"; return 1; }
}

wine_session_stop() {
    if [ -n "${WINEPREFIX:-}" ]; then
        timeout 30 wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -n "${ws_xvfb_pid:-}" ]; then
        kill "$ws_xvfb_pid" 2>/dev/null || true
        wait "$ws_xvfb_pid" 2>/dev/null || true
        ws_xvfb_pid=""
    fi
}
