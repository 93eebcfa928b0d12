! Reference timing for bench/text_format_bench.cpp: gfortran's internal WRITE of
! 1,000,000 values with the same formats. Build and run by hand:
!   gfortran -O2 bench/text_format_reference.f90 -o build/text_format_reference
!   build/text_format_reference
program text_format_reference
  implicit none
  integer, parameter :: n = 1000000
  real(kind=8), allocatable :: values(:)
  integer, allocatable :: integers(:)
  real(kind=8) :: mantissa, pick
  character(len=16) :: text16
  character(len=15) :: text15
  character(len=11) :: text11
  integer :: i, exponent
  real(kind=8) :: start, finish
  integer(kind=8) :: checksum

  allocate (values(n), integers(n))
  call random_seed()
  do i = 1, n
    ! Magnitudes from 1e-5 to 1e10 with both signs, as in the C++ benchmark.
    call random_number(mantissa)
    call random_number(pick)
    exponent = int(pick * 15.0d0) - 5
    values(i) = (1.0d0 + 9.0d0 * mantissa) * 10.0d0**exponent
    call random_number(pick)
    if (pick < 0.5d0) values(i) = -values(i)
    call random_number(pick)
    integers(i) = int((pick - 0.5d0) * 4.2d9, kind=8)
  end do
  checksum = 0

  call cpu_time(start)
  do i = 1, n
    write (text16, '(F16.3)') values(i)
    checksum = checksum + ichar(text16(16:16))
  end do
  call cpu_time(finish)
  call report('(F16.3)   ', start, finish)

  call cpu_time(start)
  do i = 1, n
    write (text15, '(G15.5E2)') values(i)
    checksum = checksum + ichar(text15(15:15))
  end do
  call cpu_time(finish)
  call report('(G15.5E2) ', start, finish)

  call cpu_time(start)
  do i = 1, n
    write (text15, '(E15.7)') values(i)
    checksum = checksum + ichar(text15(15:15))
  end do
  call cpu_time(finish)
  call report('(E15.7)   ', start, finish)

  call cpu_time(start)
  do i = 1, n
    write (text11, '(I11)') integers(i)
    checksum = checksum + ichar(text11(11:11))
  end do
  call cpu_time(finish)
  call report('(I11)     ', start, finish)
  print '(A,I0)', 'checksum ', checksum

contains

  ! Processor time, comparable with the CPU column of the C++ benchmark.
  subroutine report(label, start, finish)
    character(len=*), intent(in) :: label
    real(kind=8), intent(in) :: start, finish
    print '(A,F8.1,A,F7.1,A)', label, (finish - start) * 1.0d3, &
      ' ms CPU per 1,000,000 values, ', (finish - start) * 1.0d9 / n, ' ns each'
  end subroutine report

end program text_format_reference
