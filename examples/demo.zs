# Zarnel Plugin Enhanced: a tour of the ten actions.
# Run it with: plugin_host.exe ZarnelPlugin_Enhanced.dll demo.zs
# Each line is an action (by name or number) followed by its parameter texts.

# --- Colours on the host window (window 0 means the host window) ---
zrnZarnel_SetColor 220 20 60            # crimson caption
expect result 1
expect [SelectedTitlebarColor] 220,20,60
zrnZarnel_SetTextColor 255 255 255 0    # white caption text, window given as 0
wait 300
zrnZarnel_SetColor 300 -5 $80           # out-of-range parts are clamped; $ marks hexadecimal
expect [SelectedTitlebarColor] 255,0,128

# --- Themes: apply one to a window, or choose one for automatic styling ---
zrnZarnel_ApplyTheme 7                  # Deep Teal on the host window
expect [Zarnel.AppliedTheme] "Deep Teal"
window Second window                    # a second window, {window} in later lines
zrnZarnel_ApplyTheme 14 {window}        # Matrix Green on that window only
zrnZarnel_ApplyTheme 21                 # refused: themes are 1-20
expect result 0
wait 300

# --- Which window is in front? The handle comes back as the result ---
zrnZarnel_GetActiveWindow

# --- Caption buttons: Close, Minimize, Maximize (1 shown; 0 greys Close, disables the others) ---
zrnZarnel_SetButtons 1 0 1 {host}       # Minimize greyed on the host window, given as {host}
wait 300
zrnZarnel_SetButtons                    # defaults: all three back
expect [Zarnel.ButtonsMin] 1

# --- Back to the system's caption colours ---
zrnZarnel_RemoveStyle
zrnZarnel_RemoveStyle {window}
expect [Zarnel.LastError] "OK - Style removed"

# --- Automatic styling: new windows of the host process get the global theme's colours ---
zrnZarnel_SetGlobalTheme 6              # Dark Mode
zrnZarnel_EnableAutoStyle
expect result 1
msgbox 800 This message box is coloured by automatic styling.
wait 200
zrnZarnel_GetAutoStyleStatus            # 1 while on, with the global theme's index and name
expect [Zarnel.GlobalTheme] "Dark Mode"
zrnZarnel_DisableAutoStyle
zrnZarnel_GetAutoStyleStatus
expect result 0

# --- The host's stop message (code 2) also ends automatic styling ---
7                                       # actions may be given by number too
expect result 1
message 2
9
expect result 0

# --- Editors (design time) open a dialog that fills in an action's parameters. "dismiss" presses
# OK on it after the given time, so the script runs unattended; the tool prints the slots before
# and after.
dismiss 1500 ok
edit zrnZarnel_ApplyTheme 6 0
expect result 1
dismiss 1500 ok
edit zrnZarnel_SetButtons 1 0 1
expect result 1
