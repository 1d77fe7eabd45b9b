# Renders the manual's Markdown with cmark-gfm into the HTML page template.
# Images written as images/NAME in the Markdown live in manual-images/ beside
# the page. Run with -DCMARK_GFM= -DSOURCE= -DTEMPLATE= -DOUTPUT=.
execute_process(
  COMMAND ${CMARK_GFM} --extension table --extension autolink --extension strikethrough
          --extension tagfilter --to html ${SOURCE}
  OUTPUT_VARIABLE body
  RESULT_VARIABLE result
  ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmark-gfm failed on ${SOURCE}: ${errors}")
endif()
string(REPLACE "src=\"images/" "src=\"manual-images/" body "${body}")

# Headings get the ids GitHub gives them, so that "#section" links work in
# the page as they do on GitHub: lower case, blanks to "-", other
# punctuation dropped.
string(REGEX MATCHALL "<h[23]>[^<]*</h[23]>" headings "${body}")
foreach(heading IN LISTS headings)
  string(REGEX REPLACE "^<h([23])>([^<]*)</h[23]>$" "\\1" level "${heading}")
  string(REGEX REPLACE "^<h[23]>([^<]*)</h[23]>$" "\\1" text "${heading}")
  string(TOLOWER "${text}" slug)
  string(REGEX REPLACE "[^a-z0-9 _-]" "" slug "${slug}")
  string(REPLACE " " "-" slug "${slug}")
  string(REPLACE "${heading}" "<h${level} id=\"${slug}\">${text}</h${level}>" body "${body}")
endforeach()
file(READ ${TEMPLATE} page)
string(REPLACE "@MANUAL_BODY@" "${body}" page "${page}")
file(WRITE ${OUTPUT}.tmp "${page}")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
