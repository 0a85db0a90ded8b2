/* The month grid's window class: the class-ID string under which a dialog
   template names it. A bare #define, so that the resource script can
   include it too. */
#pragma once
#define MONTHGRID_CLASS_NAME "{232E456A-87C3-11D1-8BE3-0000F8754DA1}"
