/* M_I2C.h of the simulated board: the firmware's I2C modules (ultrasonic unit, direction
 * sensors, camera, sub I/O boards), declared as in the sample build folder; the simulation
 * runtime holds the code. */
#ifndef M_I2C_H
#define M_I2C_H

#include "M_Main.h"

#define USS1 0
#define USS2 1
#define USS3 2
#define USS4 3
#define I2C_WCMD_START 0x01
#define I2C_WCMD_STOP 0x00

void set_Uss(int cmd);
UINT get_Uss(int n);

UINT get_hmc(void);
int get_dir(int axis);
int get_bno(int axis);
int judge_hmc(int deg, int range);
int judge_dir(int axis, int deg, int range);
int judge_bno(int axis, int deg, int range);

int i2c_get_pixy(void);
int chk_pixydat_p(int sig, UINT cells);
UINT get_pixydat_s(int sig);

int sub_io_get_gV(int id, int var);
void sub_io_set_gV(int id, int var, int value);
long sub_io_get_gT(int id, int t);
UINT sub_io_get_sensor(int id, int cn);

#endif
