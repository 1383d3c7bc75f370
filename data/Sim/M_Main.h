/* M_Main.h of the simulated board: the firmware library as the simulation runs a program on
 * the host. It declares what the sample build folder's M_Main.h declares (whose M_I2C.h, M_SIO.h
 * and M_EIO.h the simulated board uses as they are); the simulation runtime (kavel-simhost)
 * holds the code. Only gAD differs: every read of it asks the simulated board, which refreshes
 * the readings for that instant and lets the time of a reading pass. */
#ifndef M_MAIN_H
#define M_MAIN_H

#include "M_Type.h"

/* The board's compiler keeps constant texts in program memory; the host compiler has no such
 * storage class. */
#define rom

#define UINT unsigned int
#define UCHAR unsigned char
#define ROMC const rom char
#define TRUE 1
#define FALSE 0
#define LED_ON 1
#define LED_OFF 0
#define HIGH 1
#define LOW 0

#define VAR_A 0
#define VAR_B 1
#define VAR_C 2
#define VAR_D 3
#define VAR_E 4
#define VAR_F 5
#define VAR_G 6
#define VAR_H 7
#define VAR_I 8
#define VAR_J 9
#define VAR_K 10
#define VAR_L 11
#define VAR_M 12
#define VAR_N 13
#define VAR_O 14
#define VAR_P 15
#define VAR_Q 16
#define VAR_R 17
#define VAR_S 18
#define VAR_T 19
#define VAR_U 20
#define VAR_V 21
#define VAR_W 22
#define VAR_X 23
#define VAR_Y 24
#define VAR_Z 25

#define T1 0
#define T2 1
#define T3 2
#define T4 3

#define CN1 0
#define CN2 1
#define CN3 2
#define CN4 3
#define CN5 4
#define CN6 5
#define CN7 6
#define CN8 7
#define CN9 8
#define CN10 9

extern int gV[26];
/* gAD[CNn] reads as on the board; the accessor stands behind it. */
volatile UINT *kavel_sim_gAD(void);
#define gAD (kavel_sim_gAD())
extern UCHAR gPwm[6];
extern UINT gTmpUint;

void motor(int l, int r);
void wait_ms(unsigned int t);
void clr_timer(int t);
long get_timer(int t);
void pwm_out(void);
void cn7_servo(unsigned int us);
void cn8_servo(unsigned int us);

void set_Led(int n, int on);
int get_Led(int n);
void set_Lat(int cn, int level);
int get_Lat(int cn);

UINT get_ping(int cn);
int get_temp(UINT ad);

/* The program's own functions, called by the firmware's start-up and timer interrupt. */
void user_main(void);
#ifdef USER_INTR
void user_sub_30(void);
#endif

#endif
