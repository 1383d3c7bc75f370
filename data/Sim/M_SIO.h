/* M_SIO.h of the simulated board: the firmware's serial modules (wireless game pad receiver),
 * declared as in the sample build folder; the simulation runtime holds the code. */
#ifndef M_SIO_H
#define M_SIO_H

#include "M_Main.h"

#define PSx_R1 0x0001
#define PSx_R2 0x0002
#define PSx_L1 0x0004
#define PSx_L2 0x0008
#define PSx_LU 0x0010
#define PSx_LR 0x0020
#define PSx_LD 0x0040
#define PSx_LL 0x0080
#define PSx_RU 0x0100
#define PSx_RR 0x0200
#define PSx_RD 0x0400
#define PSx_RL 0x0800
#define PSx_R3 0x2000
#define PSx_L3 0x8000
#define PSx_RJ0 0x1000
#define PSx_RJ1 0x1001
#define PSx_RJ2 0x1002
#define PSx_RJ3 0x1003
#define PSx_RJ4 0x1004
#define PSx_RJ5 0x1005
#define PSx_RJ6 0x1006
#define PSx_RJ7 0x1007
#define PSx_RJ8 0x1008
#define PSx_LJ0 0x4000
#define PSx_LJ1 0x4001
#define PSx_LJ2 0x4002
#define PSx_LJ3 0x4003
#define PSx_LJ4 0x4004
#define PSx_LJ5 0x4005
#define PSx_LJ6 0x4006
#define PSx_LJ7 0x4007
#define PSx_LJ8 0x4008

void stt_snx4410(void);
int chk_snx4410(UINT button);

#endif
