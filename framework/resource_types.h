/* Resource types the SDK headers lack. Bare #defines, so that a resource
   script can include this too. */
#pragma once

/* Dialog-init data: the initial state a dialog hands its controls. */
#define FW_RT_DLGINIT 240
