# The models the output tests draw, sourced by identical_outputs.sh and by
# scripts/compare_outputs.sh; not a test of its own.
# shellcheck disable=SC2034 # used by the scripts that source this
# name|options. @WORK@ stands for the scratch folder, so that a case can
# reopen a file an earlier case saved.
cases=(
  "startup|"
  "startup-reopened|--open $golden/startup-sphere.yqs"
  "startup-reopened-moved|--open $golden/startup-sphere.yqs --point 4,2,0.9,0.9,0.9"
  "bezier-1x1-plane|--size 1,1 --shape plane --point 1,1,1,1,1"
  "bezier-2x1-plane|--kind bezier --size 2,1 --shape plane --point 1,1,0.3,-0.2,0.6"
  "bezier-3x2-cylinder-rational|--kind bezier --size 3,2 --shape cylinder --rational --weight 1,1,3 --weight 2,0,0.25"
  "bezier-11x6-sphere-rational|--rational --weight 3,3,5 --point 6,3,1.5,0,0"
  "bezier-11x11-sphere|--size 11,11 --shape sphere --kind bezier"
  "bspline2-3x2-cylinder|--kind bspline2 --size 3,2 --shape cylinder --point 0,0,0.1,0.2,-0.5"
  "bspline2-5x3-cylinder-rational-ticks|--kind bspline2 --size 5,3 --shape cylinder --rational --weight 2,1,4 --tick-u 2,70 --tick-v 1,100"
  "bspline2-11x11-plane-points|--kind bspline2 --size 11,11 --shape plane --point 5,5,0.5,0.5,1.2 --point 2,8,0.1,0.7,-0.6 --point 9,1,1.3,0,0.4"
  "bspline3-3x3-cylinder|--kind bspline3 --size 3,3 --shape cylinder"
  "bspline3-4x5-sphere-ticks|--kind bspline3 --size 4,5 --shape sphere --tick-u 1,30 --tick-v 2,90 --point 2,2,0,0,2"
  "bspline3-6x6-plane-ticks|--kind bspline3 --size 6,6 --shape plane --point 3,3,0.5,0.5,0.8 --tick-u 4,131 --tick-u 5,140 --tick-v 4,40"
  "bspline3-11x11-sphere-rational|--kind bspline3 --size 11,11 --shape sphere --rational --weight 5,5,0.2 --weight 0,0,2.5"
  "bspline2-reopened|--open @WORK@/bspline2-5x3-cylinder-rational-ticks/saved.yqs"
  "bspline3-reopened-moved|--open @WORK@/bspline3-4x5-sphere-ticks/saved.yqs --point 1,1,-0.5,0.3,1.5 --kind bspline2"
)

