! Reference writer for the formatter's differential test. Each input line is
!   K LLLL BITS FORMAT
! K is I (32-bit integer), R (32-bit real), D (64-bit real) or N (no value);
! LLLL the record length; BITS the value's bit pattern in 16 hexadecimal digits;
! FORMAT the rest of the line. Each output line is the write status, a blank and
! the record written by an internal WRITE of that length.
program format_reference
  implicit none
  character(len=4096) :: line
  character(len=:), allocatable :: record
  integer :: ios, status, length, last
  integer(kind=8) :: bits
  integer(kind=4) :: ivalue
  real(kind=4) :: rvalue
  real(kind=8) :: dvalue

  do
    read (*, '(A)', iostat=ios) line
    if (ios /= 0) exit
    read (line(3:6), '(I4)') length
    read (line(8:23), '(Z16)') bits
    last = len_trim(line)
    if (allocated(record)) deallocate (record)
    allocate (character(len=length) :: record)
    record(:) = ' '
    select case (line(1:1))
    case ('I')
      ivalue = int(bits, kind=4)
      write (record, line(25:last), iostat=status) ivalue
    case ('R')
      rvalue = transfer(int(bits, kind=4), rvalue)
      write (record, line(25:last), iostat=status) rvalue
    case ('D')
      dvalue = transfer(bits, dvalue)
      write (record, line(25:last), iostat=status) dvalue
    case default
      write (record, line(25:last), iostat=status)
    end select
    write (*, '(I0,1X,A)') status, record
  end do
end program format_reference
