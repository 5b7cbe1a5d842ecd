# The layers of the core, bottom first. A layer may use its own code and
# the layers of a lower rank; layers of the same rank (ccdf, settings,
# report) are siblings and may not use each other.
set(WATTRIX_CORE_LAYERS
  platform:0
  strings:1
  vocabulary:2
  device:3
  history:4
  measure:5
  graph:6
  ccdf:7
  settings:7
  report:7
  shell:8
)

# Sets <out>_NAMES to the layer names in order and <out>_RANK_<name> to
# each layer's rank, in the caller's scope.
macro(wattrix_core_layer_table out)
  set(${out}_NAMES)
  foreach(entry ${WATTRIX_CORE_LAYERS})
    string(REPLACE ":" ";" pair "${entry}")
    list(GET pair 0 name)
    list(GET pair 1 rank)
    list(APPEND ${out}_NAMES ${name})
    set(${out}_RANK_${name} ${rank})
  endforeach()
endmacro()
