/* The maker's addresses shown and opened by the About box. Plain macros,
   so that the resource script and the C++ code share them. */
#ifndef VEK_MAKER_H
#define VEK_MAKER_H
#define VEK_FEEDBACK_ADDRESS "vek@example.com"
#define VEK_WEB_ADDRESS "http://www.example.com/"
/* The query the web link adds, so that the site knows where the visit came from. */
#define VEK_WEB_QUERY "?index=dns"
#endif
