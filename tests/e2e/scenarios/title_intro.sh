#!/usr/bin/env bash
# The title window and its introduction, watched from outside: the window opens centred with a fixed
# 600 x 500 client area and a frame with icon and close box only; the banner slides down and comes to
# rest, the welcome text is typed out, the start button slides in from the left and stops centred.
# Closing the window with its close box after the introduction ends the program cleanly.
# The Linux program is started as some launchers start programs, with standard output and error closed,
# and on a system whose font configuration knows no font: the text still shows, in a face the system
# has, and what the program says about it cannot reach the display's connection and hang the end.
#
#   title_intro.sh QUORVEX
source "$(dirname "$0")/../lib.sh"

if [ "${E2E_PLATFORM:-linux}" = linux ]; then
  E2E_STDIO=closed
  printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' >"$work/fonts.conf"
  export FONTCONFIG_FILE="$work/fonts.conf"
fi
open_title "${1:?usage: title_intro.sh QUORVEX}"
check_fixed_client_area "$title"
check_centred "$title"
check_frame "$title" close
icons="$(x xprop -id "$title" _NET_WM_ICON)"
grep -q "Icon (32 x 32)" <<<"$icons" || fail "the window has no 32 x 32 icon"
grep -q "Icon (16 x 16)" <<<"$icons" || fail "the window has no 16 x 16 icon"

# Screenshots as fast as they come until the button is at rest; they are examined afterwards, so that
# the short phases (the button slides for about 0.4 s) are not missed while a picture is analysed.
frames=0
deadline=$(( $(now_ms) + 60000 ))
while :; do
  frames=$(( frames + 1 ))
  snap "$title" "$work/intro-$frames.png" || fail "no screenshot of the title window"
  if (( frames % 3 == 0 )); then
    shot="$work/intro-$frames.png"
    [ "$(bbox "#ffff00")" = "258 449 343 462" ] && break
  fi
  [ "$(now_ms)" -lt "$deadline" ] || fail "the start button never came to rest at 250, 440"
done
note "$frames screenshots of the introduction"

# The banner's lettering covers rows 11..178 and columns 25..475 of the 500 x 200 banner drawn at left
# 50. Its copies reach the screen only when the window is refreshed: the last refreshed one, at top 14,
# stays on screen while the text is typed (each character repaints only the label); the typewriter's
# last frame shows the copy at 15, and the button phase the one at 16.
text_area="558x182+20+236"
banner_bottoms="" last_red=0 red_steps=0 button_lefts="" typing_seen=0 typing_banners=""
for (( i = 1; i <= frames; i++ )); do
  shot="$work/intro-$i.png"
  { read -r banner; read -r red; read -r button; } < <(measure "bbox:#00ff00" "count:#ff0000@$text_area" "bbox:#ffff00")
  if [ "$banner" != none ]; then
    read -r bl bt br bb <<<"$banner"
    [ "$bl" -ge 75 ] && [ "$br" -le 525 ] || fail "banner lettering at columns $bl..$br, outside 75..525 (screenshot $i)"
    [ "$bb" -le 194 ] || fail "the banner went below its resting place: rows $bt..$bb (screenshot $i)"
    [ "$bb" -lt 193 ] && banner_bottoms+=" $bb"
  fi
  if [ "$red" -gt 0 ]; then
    # The text starts only once the banner has come to rest.
    case "$banner" in
      "75 25 525 192" | "75 26 525 193" | "75 27 525 194") ;;
      *) fail "text typed while the banner was at \"$banner\" (screenshot $i)" ;;
    esac
    typing_banners+=" $red:${banner##* }"
    [ "$red" -ge "$last_red" ] || fail "the welcome text shrank from $last_red to $red red pixels (screenshot $i)"
    [ "$red" -gt "$last_red" ] && red_steps=$(( red_steps + 1 ))
    [ "$button" = none ] && typing_seen=1
    last_red="$red"
  fi
  if [ "$button" != none ]; then
    [ "$red" -gt 0 ] || fail "the button showed before the text (screenshot $i)"
    read -r kl kt kr kb <<<"$button"
    [ "$kt" -ge 449 ] && [ "$kb" -le 462 ] || fail "the button's lettering at rows $kt..$kb, outside 449..462 (screenshot $i)"
    [ "$kl" -lt 258 ] && button_lefts+=" $kl"
  fi
done
note "banner lettering's bottom row while sliding:$banner_bottoms"
note "the text grew in $red_steps steps to $last_red red pixels; button lettering's left while sliding:$button_lefts"

[ "$(wc -w <<<"$banner_bottoms")" -ge 2 ] || fail "the banner was not seen on its way down"
[ "$typing_seen" -eq 1 ] && [ "$red_steps" -ge 3 ] || fail "the text was not seen growing ($red_steps steps)"
[ -n "$button_lefts" ] || fail "the button was never seen sliding in"
# While the text is still incomplete, the screen shows the banner where the last refresh left it.
for seen in $typing_banners; do
  if [ "${seen%%:*}" -lt "$last_red" ] && [ "${seen##*:}" != 192 ]; then
    fail "the banner moved on screen before the typing was done (bottom row ${seen##*:}, $seen red:bottom)"
  fi
done

# At rest: the banner one pixel below its typing place, the whole text inside the label, the button centred.
shot="$work/intro-$frames.png"
[ "$(bbox "#00ff00")" = "75 27 525 194" ] || fail "the banner rests at $(bbox "#00ff00"), not 75 27 525 194"
within "$(bbox "#ff0000")" 20 236 577 417 || fail "the welcome text lies outside its label: $(bbox "#ff0000")"
[ "$(count "#ff0000" "$text_area")" -ge 3000 ] || fail "the welcome text looks incomplete"
[ "$(count "#ffff00" "100x35+250+440")" -ge 200 ] || fail "no button lettering at 250, 440"

# Nothing changes any more while the window waits.
sleep 0.3
snap "$title"
[ "$(count "#ff0000" "$text_area")" -eq "$last_red" ] || fail "the text still changes after the introduction"

close_window "$title"
wait_for_clean_exit
echo "PASS: title_intro"
