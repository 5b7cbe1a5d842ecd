#!/usr/bin/env bash
# Fails when a quantity, a quantity mask, a request or reply kind or a live
# window kind is written as a bare integer in src/ instead of through its
# type in core/vocabulary. Each pattern below names what it catches.
set -u
src=${1:-$(dirname "$0")/../src}
cd "$src" || exit 2

# Functions that take a quantity as their first argument.
calls='AddReading|Count|Min|Max|GetReadings|LastReading|Average|DisplayLow|DisplayHigh|SetDisplayRange|LowLimit|HighLimit|SetLimits|LimitCheck|SetLimitCheck|BeepAlarm|SetBeepAlarm|BeepKind|SetBeepKind|MaskBit|QuantitySection|IsPowerQuantity|TableEntry|RecordPosition|PanelOfQuantity|ShowQuantity|SetQuantity|GraphShowQuantity|ShowLimitState|Readings'
vocabulary='^core/vocabulary/'

declare -a names patterns
add() { names+=("$1"); patterns+=("$2"); }
add "a number where a quantity goes" "\\b($calls)\\(\\s*-?[0-9]+\\s*[,)]"
add "a cast between a number and a kind" 'static_cast<(wattrix::)?(Quantity|RequestKind|ReplyKind|LiveWindowKind)>|\b(Quantity|RequestKind|ReplyKind|LiveWindowKind)\s*\{\s*-?[0-9]|(static_cast<int>|\bint)\s*[({]\s*(k(Avg|Rev|Vswr|Peak|Pulse|Ccdf)|(RequestKind|ReplyKind|LiveWindowKind)::\w+)\s*[)}]'
add "a quantity compared with a number" '\b(quantity|\w+Quantity(\(\))?)\s*(==|!=|<=|>=|<|>)\s*-?[0-9]'
add "a quantity held or counted as an int" '\bint\s+(q|quantity|\w+Quantity)\b(?!\s*\()|for\s*\(\s*(const\s+)?int\s+q\b'
add "a quantity mask as an int" '\b\w*[mM]ask\s*(&|\|)=?\s*(0x[0-9A-Fa-f]+|[0-9]+)\b|Mask\(\)\s*(==|!=|&|\|)\s*(0x|[0-9])|\bint\s+\w*(quantityMask|QuantityMask|saveMask|itemMask)\b'
add "a request, reply or window kind as an int" '\bint\s+(requestKind|replyKind|windowKind|requestState)\b|RequestMeasurement\(\s*[0-9]|RequestState\(\)\s*(==|!=)\s*[0-9]|namespace\s+(request_kind|reply_kind)\b|mode_view::request\b|\bSinkSlot\b|(?<!cmd::)\bkMode(Measurement|Pulse|Ccdf)\b'

failed=0
for i in "${!names[@]}"; do
  hits=$(grep -rnP "${patterns[$i]}" --include='*.h' --include='*.cpp' . | sed 's|^\./||' | grep -vE "$vocabulary")
  if [[ -n $hits ]]; then
    echo "${names[$i]}:"
    echo "$hits"
    failed=1
  fi
done
exit $failed
