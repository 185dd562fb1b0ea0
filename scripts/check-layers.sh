#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own. The arrows, lowest first:
#   common <- link/core <- link <- handset <- modes/*/model, flows/* (model part) <- shell <-
#   modes/*/screen, flows/*/screen <- app
# cli and sim use models, handset, link and common (cli also the flows), never the shell, a
# screen or the app.
# Mode models use each other one way only: psent -> dataset, datasave -> dataset, psent, log. A
# mode screen uses the models its own model may use and no other, never another mode's screen and
# never a flow. A flow's model part uses the mode models; a flow never includes another flow's
# screen. Nothing below the shell includes Qt Widgets.
set -uo pipefail
cd "$(dirname "$0")/.."

rank_of() { # path -> rank and layer name
  case "$1" in
    common/*) echo "0 common" ;;
    link/core/*) echo "1 link/core" ;;
    link/*) echo "2 link" ;;
    handset/*) echo "3 handset" ;;
    runner/*) echo "3 runner" ;;
    modes/*/model/*) echo "4 model" ;;
    flows/*/screen/*) echo "6 flowscreen" ;;
    flows/*) echo "4 flows" ;;
    sim/*) echo "4 sim" ;;
    cli/*) echo "4 cli" ;;
    shell/*) echo "5 shell" ;;
    modes/*/screen/*) echo "6 screen" ;;
    app/*) echo "7 app" ;;
    *) echo "" ;;
  esac
}

mode_of() { # modes/<m>/... -> m
  local rest=${1#modes/}
  echo "${rest%%/*}"
}

flow_of() { # flows/<f>/... -> f
  local rest=${1#flows/}
  echo "${rest%%/*}"
}

allowed_model_use() { # from-mode to-mode
  [ "$1" = "$2" ] && return 0
  case "$1:$2" in
    psent:dataset | datasave:dataset | datasave:psent | datasave:log) return 0 ;;
  esac
  return 1
}

widgets='<Q(Widget|Dialog|Application|MessageBox|PushButton|Label|LineEdit|ComboBox|[VH]BoxLayout|GridLayout|FormLayout|GroupBox|Menu|MenuBar|Slider|TabWidget|ScrollArea|ProgressBar|CheckBox|RadioButton|ListWidget|TextEdit|PlainTextEdit|Style|FileDialog|PrintDialog|SpinBox|Frame|ButtonGroup)>'

failures=0
fail() {
  echo "layering: $1" >&2
  failures=$((failures + 1))
}

while IFS= read -r file; do
  from=$(rank_of "$file")
  [ -n "$from" ] || continue
  from_rank=${from%% *}
  from_layer=${from#* }
  if [ "$from_rank" -lt 5 ] && grep -qE "^#include $widgets" "$file"; then
    fail "$file ($from_layer) includes Qt Widgets"
  fi
  while IFS= read -r header; do
    to=$(rank_of "$header")
    [ -n "$to" ] || continue
    to_rank=${to%% *}
    to_layer=${to#* }
    if [ "$to_rank" -gt "$from_rank" ]; then
      fail "$file ($from_layer) includes $header ($to_layer)"
      continue
    fi
    # sim and cli sit beside the models: neither uses the other.
    if { [ "$from_layer" = sim ] && [ "$to_layer" = cli ]; } || { [ "$from_layer" = cli ] && [ "$to_layer" = sim ]; }; then
      fail "$file ($from_layer) includes $header ($to_layer)"
    fi
    # A flow is used by cli and the screens; it uses neither cli nor sim, and no mode uses it.
    if { [ "$from_layer" = flows ] && { [ "$to_layer" = cli ] || [ "$to_layer" = sim ]; }; } ||
      { [ "$from_layer" = sim ] && [ "$to_layer" = flows ]; }; then
      fail "$file ($from_layer) includes $header ($to_layer)"
    fi
    case "$file:$header" in
      modes/*:flows/*) fail "$file (a mode) includes a flow: $header" ;;
    esac
    if [ "$to_layer" = flowscreen ] && [ "${file#flows/}" != "$file" ] &&
      [ "$(flow_of "$file")" != "$(flow_of "$header")" ]; then
      fail "$file includes another flow's screen: $header"
    fi
    if [ "$from_layer" = model ] && [ "$to_layer" = model ] &&
      ! allowed_model_use "$(mode_of "$file")" "$(mode_of "$header")"; then
      fail "$file uses the model of another mode against the arrows: $header"
    fi
    # A screen shows its own mode: another mode's model only as far as its own model uses it.
    if [ "$from_layer" = screen ] && [ "$to_layer" = model ] &&
      ! allowed_model_use "$(mode_of "$file")" "$(mode_of "$header")"; then
      fail "$file reaches a model its own model may not use: $header"
    fi
    if { [ "$from_layer" = model ] || [ "$from_layer" = flows ]; } && [ "$to_layer" = sim ]; then
      fail "$file ($from_layer) includes the virtual handset: $header"
    fi
    if [ "$from_layer" = screen ] && [ "$to_layer" = screen ] &&
      [ "$(mode_of "$file")" != "$(mode_of "$header")" ]; then
      fail "$file includes another mode's screen: $header"
    fi
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files -- '*.h' '*.cpp' ':!tests/*' ':!fuzz/*' ':!bench/*' ':!launcher/*')

if [ "$failures" -gt 0 ]; then
  echo "layering: $failures include(s) against the arrows" >&2
  exit 1
fi
echo "layering: every include follows the arrows"
