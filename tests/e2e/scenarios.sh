# The one list of scenarios that both windows must pass: the Qt window and
# the Windows program under Wine, driven by keys as a person drives them.
# Each scenario names the keys pressed and what the window must then show
# (where the focus is, what is selected, which box comes up) and what was
# written. Sourced by e2e_test.sh and windows_e2e_test.sh after
# e2e_common.sh; each of them supplies, in its window's own terms:
#
#   probe focus|field|box|hot TOOLBAR   what the window shows (as qt_probe.py
#                                       and windows_probe.exe print it)
#   window_path PATH                    a folder as the window names it
#   quvetra_at_work, quvetra_done       Quvetra writing its database, and done
#   end_session                         the session ends (logout, shutdown)
#   $small_drive                        a folder on a nearly full drive, or
#                                       empty where none can be had
#
# A scenario that one window fails is a fault of that window.

# The list, on one line (the build reads it too):
shared_scenarios="keys-backup enter-on-toolbar tab-order access-keys escape-anywhere keyboard-cancel answers-overwrite answers-in-use focus-after-boxes focus-after-warning location-missing no-room stop-backup session-end"

expect_focus() {  # CONTROL AFTER_WHAT
  local focused
  focused=$(probe focus)
  [ "$focused" = "$1" ] || fail "after $2 the focus is on $focused, not on $1"
}
expect_field() {  # TEXT START END AFTER_WHAT: the focused field's text and selection
  local shown expected
  shown=$(probe field | tr '\n' '|')
  expected="$1|$2|$3|"
  [ "$shown" = "$expected" ] || fail "after $4 the field shows '$shown' (text|start|end), not '$expected'"
}
expect_hot() {  # BUTTON AFTER_WHAT: the marked button of Toolbar1
  local hot
  hot=$(probe hot Toolbar1)
  [ "$hot" = "$1" ] || fail "after $2 button $hot of Toolbar1 is marked, not $1"
}
expect_box() {  # WORDS: a box comes up whose text holds those words, maybe after another box of the same title
  for _ in $(seq 100); do
    grep -qF -- "$1" <<<"$(probe box 2>/dev/null)" && return 0
    sleep 0.15
  done
  fail "no box reads '$1'; the box reads '$(probe box 2>/dev/null)'"
}
answer() {  # KEY: answers the box that shows, which then goes
  press "$1"
  wait_no_window '^RUROR$'
}
nothing_written() { [ -z "$(ls -A "$destination")" ] || fail "something was written: $(ls -A "$destination")"; }
whole_selection() { # TEXT AFTER_WHAT: the focused field holds TEXT, all of it selected
  expect_field "$1" 0 "${#1}" "$2"
}
today_name() { echo "Respaldo ($(date +%d-%m-%Y))"; }
backup_is_exact() { cmp -s "$quvetra/QVT Datos.mdb" "$1" || fail "$1 is not an exact copy of the database"; }

run_shared_scenario() {  # NAME
  case "$1" in
    keys-backup)  # a whole backup with the keys alone: Enter moves on, Space presses
      type_text "$(window_path "$destination")"
      press Return
      expect_focus Text2 "Enter in the location"
      whole_selection "$(today_name)" "Enter in the location"
      press Return
      expect_focus Toolbar1 "Enter in the name"
      expect_hot 1 "Enter in the name"
      press space
      wait_result
      backup_is_exact "$backup"
      cmp -s "$quvetra/QVT Datos/Archivo/Contrato 2026.pdf" "$destination/Respaldo QVT/Archivo/Contrato 2026.pdf" ||
        fail "the data centre was not copied"
      press Return
      wait_program_end
      ;;
    enter-on-toolbar)  # Enter presses the marked button, and sends no Tab after it
      type_text "$(window_path "$destination")"
      press Return Return Return
      wait_result
      backup_is_exact "$backup"
      press Return
      wait_program_end
      ;;
    tab-order)  # one stop per toolbar, the arrows move the mark, the fields select whole
      expect_focus Text1 "the start"
      type_text "$(window_path "$destination")"
      press Tab
      expect_focus Text2 "Tab from the location"
      whole_selection "$(today_name)" "Tab from the location"
      press Tab
      expect_focus Toolbar1 "Tab from the name"
      expect_hot 1 "Tab from the name"
      press Right
      expect_hot 3 "Right"
      press Right
      expect_hot 3 "Right on the last button"
      press Left
      expect_hot 1 "Left"
      press Tab
      expect_focus Toolbar2 "Tab from Toolbar1"
      press Tab
      expect_focus Check1 "Tab from Toolbar2"
      press Tab
      expect_focus Text1 "Tab from Check1"
      whole_selection "$(window_path "$destination")" "Tab from Check1"
      press shift+Tab
      expect_focus Check1 "Shift+Tab from the location"
      press shift+Tab shift+Tab
      expect_focus Toolbar1 "Shift+Tab twice more"
      press Escape
      wait_program_end
      nothing_written
      ;;
    access-keys)  # Alt+U, Alt+N to the fields, each selected whole; Alt+C unticks the data centre
      press alt+n
      expect_focus Text2 "Alt+N"
      whole_selection "$(today_name)" "Alt+N"
      type_text "Martes"
      press alt+u
      expect_focus Text1 "Alt+U"
      type_text "$(window_path "$destination")"
      press alt+c
      expect_focus Check1 "Alt+C"
      press alt+n
      whole_selection "Martes" "Alt+N again"
      press Return space
      expect_box "completo éxito"
      backup_is_exact "$destination/Martes.qvtdb"
      [ ! -e "$destination/Respaldo QVT" ] || fail "the data centre was copied, though Alt+C unticked it"
      press Return
      wait_program_end
      ;;
    escape-anywhere)  # Escape ends the program from whatever control has the focus
      press Tab Tab Tab
      expect_focus Toolbar2 "three Tabs"
      press Escape
      wait_program_end
      nothing_written
      ;;
    keyboard-cancel)  # "Cancelar" reached with the arrow and pressed with Enter
      type_text "$(window_path "$destination")"
      press Return Return Right
      expect_hot 3 "Right"
      press Return
      wait_program_end
      nothing_written
      ;;
    answers-overwrite)  # only "Sí" replaces the earlier backup: No, Escape and the close box keep it
      echo "viejo" >"$backup"
      type_text "$(window_path "$destination")"
      press Return Return
      local key
      for key in n Escape alt+F4; do
        press space
        expect_box "se encuentra ya asignado a un archivo"
        answer "$key"
        nothing_overwritten
        expect_focus Toolbar1 "$key to the replace question"
        expect_hot 1 "$key to the replace question"
      done
      press space
      expect_box "se encuentra ya asignado a un archivo"
      answer Return                       # "Sí", the default button
      wait_result
      backup_is_exact "$backup"
      press Return
      wait_program_end
      ;;
    answers-in-use)  # only "Sí" copies a database that Quvetra is writing
      quvetra_at_work
      type_text "$(window_path "$destination")"
      press Return Return
      local key
      for key in n Escape alt+F4; do
        press space
        expect_box "mientras Quvetra trabaja"
        answer "$key"
        nothing_written
        program_running || fail "the program ended after $key"
        expect_focus Toolbar1 "$key to the in-use question"
      done
      press space
      expect_box "mientras Quvetra trabaja"
      answer s
      wait_result
      backup_is_exact "$backup"
      quvetra_done
      press Return
      wait_program_end
      ;;
    focus-after-boxes)  # each refusal gives the focus to the control it is about, text selected whole
      press Return Return space          # the location left empty
      expect_box "'Ubicación'"
      answer Return
      expect_focus Text1 "the empty-location box"
      type_text "Copias"
      press Return Return space          # not a full path
      expect_box "Copias"
      answer Return
      expect_focus Text1 "the bad-path box"
      whole_selection "Copias" "the bad-path box"
      type_text "$(window_path "$destination")"
      press alt+n Delete Return space    # the name emptied
      expect_box "'Nombre'"
      answer Return
      expect_focus Text2 "the empty-name box"
      type_text "Lunes"
      press Return
      mv "$quvetra/QVT Datos.mdb" "$work/aparte.mdb"
      press space
      expect_box "no se encontró"
      answer Return
      expect_focus Toolbar1 "the no-database box"
      mv "$work/aparte.mdb" "$quvetra/QVT Datos.mdb"
      nothing_written
      press Escape
      wait_program_end
      ;;
    focus-after-warning)  # after the refused full stop, the caret stays and typing goes on
      press alt+n
      type_text "copia"
      press period
      expect_box "no puede contener"
      answer Return
      expect_focus Text2 "the full-stop warning"
      expect_field "copia" 5 5 "the full-stop warning"
      type_text "cxyz"                    # the "c" once unticked the data centre
      expect_field "copiacxyz" 9 9 "typing after the warning"
      press alt+u
      type_text "$(window_path "$destination")"
      press Return Return space
      wait_result
      backup_is_exact "$destination/copiacxyz.qvtdb"
      [ -f "$destination/Respaldo QVT/notas.txt" ] || fail "the data centre was not copied"
      press Return
      wait_program_end
      ;;
    location-missing)  # a location that is not there, or not a folder: told before anything is written
      type_text "$(window_path "$destination/Falta")"
      press Return Return space
      expect_box "no existe"
      answer Return
      expect_focus Text1 "the missing-folder box"
      program_running || fail "the program ended"
      echo "no es carpeta" >"$work/archivo"
      type_text "$(window_path "$work/archivo")"
      press Return Return space
      expect_box "no es una carpeta"
      answer Return
      expect_focus Text1 "the not-a-folder box"
      [ ! -e "$destination/Falta" ] && nothing_written
      press Escape
      wait_program_end
      ;;
    no-room)  # a backup that would not fit: told with the sizes, nothing written
      [ -n "$small_drive" ] || { echo "SKIPPED: no small drive can be had here"; exit 77; }
      head -c $((2 << 20)) /dev/urandom >"$quvetra/QVT Datos.mdb"
      before=$(quvetra_files)
      type_text "$(window_path "$small_drive")"
      press Return Return space
      expect_box "No hay espacio suficiente"
      answer Return
      expect_focus Text1 "the no-room box"
      [ -z "$(ls -A "$small_drive")" ] || fail "something was written: $(ls -A "$small_drive")"
      press Escape
      wait_program_end
      ;;
    stop-backup)  # Escape during the copy asks; Sí stops: the earlier backup stays, nothing half-copied
      head -c $((700 << 20)) /dev/urandom >"$quvetra/QVT Datos.mdb"
      before=$(quvetra_files)
      echo "viejo" >"$backup"
      type_text "$(window_path "$destination")"
      press Return Return space
      expect_box "se encuentra ya asignado a un archivo"
      answer Return                       # "Sí": replace it
      press Escape
      expect_box "¿Desea detener el respaldo?"
      press s
      expect_box "El respaldo se ha detenido"
      expect_box "sigue como estaba"
      [ "$(cat "$backup")" = "viejo" ] || fail "the earlier backup was changed"
      [ -z "$(find "$destination" -name '.ruror-*')" ] || fail "a temporary file was left: $(ls -A "$destination")"
      press Return
      wait_program_end
      ;;
    session-end)  # the session ends during the copy: stopped, nothing half-copied, no box, the program ends
      head -c $((700 << 20)) /dev/urandom >"$quvetra/QVT Datos.mdb"
      before=$(quvetra_files)
      type_text "$(window_path "$destination")"
      press Return Return space
      sleep 0.3
      end_session
      wait_program_end
      [ -z "$(find "$destination" -name '.ruror-*')" ] || fail "a temporary file was left: $(ls -A "$destination")"
      [ ! -e "$backup" ] || cmp -s "$quvetra/QVT Datos.mdb" "$backup" || fail "a backup file that is not whole"
      ;;
    *) return 1 ;;
  esac
}
