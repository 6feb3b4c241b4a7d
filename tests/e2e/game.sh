# What a player sees of the game window and does in it; sourced after lib.sh by the scenarios that play.
#
# The play field, in client pixels: aliens in the rows 50..99 and 150..199, the ship (96 x 20, yellow,
# red and blue) at top 430 starting at left 252, the red ground line on row 450, the magenta "Lives:"
# caption at 10, 460 and one yellow 5 x 20 icon per life at 140, 150, ... 180, top 465. The bomb is a lime
# disc of 10 x 10, the missile a blue bar of 5 x 20. During a pause "Get Ready" and the level show in lime
# at 188, 184 and 188, 244 (225 x 37 each).

SHIP_ROWS="600x20+0+430"
BOMB_ROWS="600x330+0+100"     # from under the top row to above the ship: only bombs are lime here
MISSILE_ROWS="600x225+0+205"
ICONS="60x20+135+465"
READY_LABEL="225x37+188+184"
LEVEL_LABEL="225x37+188+244"

caption_pattern='^Quorvex - By Delmoro : Level ([0-9]+) : Score \(([0-9]+)\) : ([0-9]+) FPS$'

# read_caption: sets caption_level, caption_score and caption_rate (thousands of loop passes in the
# last second) from the game window's caption; false until it has the play format.
read_caption() {
  local caption
  caption="$(caption_of "$game")"
  [[ "$caption" =~ $caption_pattern ]] || return 1
  caption_level="${BASH_REMATCH[1]}" caption_score="${BASH_REMATCH[2]}" caption_rate="${BASH_REMATCH[3]}"
}

# look: one screenshot of the game window, read into
#   ship      "L T R B" of the ship (T and B relative to row 430) or none
#   bomb      "L T R B" of the bomb (T and B relative to row 100) or none
#   missile   "L T R B" of blue under the aliens and above the ship (T and B relative to row 205) or none
#   lives     life icons shown
#   labels    lime pixels in the two label boxes
look() {
  snap "$game" || return 1
  local icon_pixels ready level
  { read -r ship; read -r bomb; read -r missile; read -r icon_pixels; read -r ready; read -r level; } < <(measure \
    "bbox:#ffff00,#ff0000,#0000ff@$SHIP_ROWS" "bbox:#00ff00@$BOMB_ROWS" "bbox:#0000ff@$MISSILE_ROWS" \
    "count:#ffff00@$ICONS" "count:#00ff00@$READY_LABEL" "count:#00ff00@$LEVEL_LABEL")
  lives=$(( (icon_pixels + 50) / 100 ))
  labels=$(( ready + level ))
  # The labels, shown during a pause, lie in the bomb's rows: then no bomb is read.
  if [ "$bomb" != none ]; then
    local l t r b
    read -r l t r b <<<"$bomb"
    (( r - l <= 11 && b - t <= 11 )) || bomb=none
  fi
}

left_of() { echo "${1%% *}"; }

# The two labels hold some 1500 lime pixels; a bomb falling through their boxes 80.
in_play() { look && [ "$labels" -lt 300 ] && [ "$ship" != none ]; }
paused() { look && [ "$labels" -ge 300 ]; }

# hold KEY SECONDS: the key held down that long.
hold() {
  x xdotool keydown "$1"
  sleep "$2"
  x xdotool keyup "$1"
}

# steer_to LEFT [MS]: moves the ship about to that left edge, in one press of at most 0.7 s or MS ms (the
# ship goes 5 px per frame, a frame every 11 ms or more); close enough is within 15 px. Uses the last look.
steer_to() {
  [ "$ship" != none ] || return 0
  local from distance key ms most="${2:-700}"
  (( most > 700 )) && most=700  # the next look steers on
  from="$(left_of "$ship")"
  distance=$(( $1 - from ))
  key=Right
  (( distance < 0 )) && { key=Left; distance=$(( -distance )); }
  (( distance > 15 )) || return 0
  ms=$(( distance * 1000 / 450 ))
  (( ms > most )) && ms="$most"
  (( ms > 0 )) || return 0
  hold "$key" "$(awk -v ms="$ms" 'BEGIN { printf "%.3f", ms / 1000 }')"
}

# chase_bomb [MS]: puts the ship under the falling bomb (a bomb hits when its left edge lies over the
# ship, 0..96 px from the ship's left edge), holding a key at most MS ms. Uses the last look; false when
# no bomb is falling.
chase_bomb() {
  [ "$bomb" != none ] || return 1
  local target
  target=$(( $(left_of "$bomb") - 43 ))
  (( target < 0 )) && target=0
  (( target > 504 )) && target=504
  steer_to "$target" "${1:-}"
}
